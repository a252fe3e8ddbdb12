#include "platform/clock.h"
#include "platform/win32/backend.h"

namespace platform {

std::uint32_t time_ms() {
    return timeGetTime();
}

void idle() {
    Sleep(1);
}

// Sleeps until the due time or until input or a message arrives for the
// thread, whichever comes first; at most 100 ms, should a wake-up be lost.
void idle_until(std::uint32_t due_ms) {
    constexpr std::int32_t longest_ms = 100;
    const auto left = static_cast<std::int32_t>(due_ms - time_ms());
    if (left > 0)
        MsgWaitForMultipleObjects(0, nullptr, FALSE,
                                  static_cast<DWORD>(left < longest_ms ? left : longest_ms),
                                  QS_ALLINPUT);
}

} // namespace platform
