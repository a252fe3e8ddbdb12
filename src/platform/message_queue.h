#pragma once

// The queue of window messages that every backend keeps for the game, and
// the steps that are the same whichever system the messages come from.

#include <deque>

#include "platform/messages.h"

namespace platform {

using MessageQueue = std::deque<Message>;

// Copies the first message, leaving it queued; false when none waits.
bool front_message(const MessageQueue& queue, Message& message);

// Takes the first message out of a queue that holds one; false when it is
// the quit message.
bool take_message(MessageQueue& queue, Message& message);

// Hands `message` to `procedure`, or to the default handling without one.
void dispatch_to(WindowProcedure procedure, const Message& message);

} // namespace platform
