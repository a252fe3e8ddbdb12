#include "platform/clock.h"
#include "platform/win32/backend.h"

namespace platform {

std::uint32_t time_ms() {
    return timeGetTime();
}

void idle() {
    Sleep(1);
}

} // namespace platform
