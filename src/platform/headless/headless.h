#pragma once

// Control of the headless backend, for tests and benchmarks only: a virtual
// clock that moves when the program waits, and a script of input events
// that take effect when the clock passes their time.

#include <cstdint>

#include "platform/keyboard.h"
#include "platform/messages.h"

namespace headless {

// Back to a fresh machine: clock at `start_ms`, no key down, no message
// queued, empty script.
void reset(std::uint64_t start_ms = 0);

// The virtual time; platform::time_ms() is its low 32 bits.
std::uint64_t now();

// Moves the clock on, applying every scripted event that comes due, in
// time order.
void advance(std::uint64_t ms);

// Script entries; an event at a time already passed applies at the next
// movement of the clock.
void press_at(std::uint64_t when, int virtual_key);
void release_at(std::uint64_t when, int virtual_key);
void post_at(std::uint64_t when, platform::Message message);

// Immediate changes, bypassing the script.
void set_key(int virtual_key, bool down);
void post(platform::Message message);

// The keys the game last lent to gamepad `pad`.
platform::PadKeys pad_keys(int pad);
// A gamepad is unplugged now.
void unplug_pad();

// True while scripted events are still waiting for their time.
bool script_pending();

// Messages waiting in the queue.
int queued_messages();

// The user's default language as the system reports it (US English after a
// reset).
void set_user_lang_id(std::uint16_t lang_id);

} // namespace headless
