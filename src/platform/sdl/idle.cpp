#include "platform/clock.h"
#include "platform/message_queue.h"
#include "platform/sdl/backend.h"

#include <algorithm>
#include <cstdint>

namespace platform {

// Sleeps on SDL's event wait, which blocks on the display connection: a key,
// a window event or the due time ends it, whichever comes first.
void idle_until(std::uint32_t due_ms) {
    // The longest sleep at a time, should a wake-up be lost somewhere.
    constexpr std::int32_t longest_ms = 100;
    // Events already taken from the display but not yet handled would end
    // the wait at once; what they mean goes into the message queue first.
    sdl::pump_events();
    if (!message_queue().empty())
        return;
    const auto left = static_cast<std::int32_t>(due_ms - time_ms());
    if (left > 0)
        sdl::wait_for_events(std::min(left, longest_ms));
}

} // namespace platform
