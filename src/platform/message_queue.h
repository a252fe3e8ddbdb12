#pragma once

// The queue of window messages the game handles, and the message functions
// of messages.h written once over it. Each backend supplies only how the
// system's messages come in and how to sleep until they may have, below,
// and what the system does when the window is closed
// (default_window_procedure).

#include <deque>

#include "platform/messages.h"

namespace platform {

using MessageQueue = std::deque<Message>;

// The one queue; a backend's pump appends to it.
MessageQueue& message_queue();

// Supplied by each backend: takes in what the system has for the game's
// window, turning what the game handles into queued messages.
void pump_system_messages();
// Supplied by each backend: sleeps until a message may have arrived. With
// `must_arrive` (get_message) the caller cannot go on without one.
void await_system_messages(bool must_arrive);

} // namespace platform
