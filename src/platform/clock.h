#pragma once

#include <cstdint>

namespace platform {

// Milliseconds since an arbitrary start, wrapping around at 2^32 like the
// multimedia timer; callers compare times by unsigned difference.
std::uint32_t time_ms();

// Lets a little time pass (about a millisecond) instead of spinning. Every
// loop that waits for a key or a message calls it; the headless backend
// advances its virtual clock here.
void idle();

// Lets time pass until `due_ms` (a time_ms() value) at the latest, returning
// sooner when a key changes or a window message arrives. Loops that know
// when they next have timed work, or that wait only for keys and messages,
// call it instead of idle() and sleep through instead of waking every
// millisecond. The headless backend moves its clock on as in idle().
void idle_until(std::uint32_t due_ms);

} // namespace platform
