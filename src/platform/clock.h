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

} // namespace platform
