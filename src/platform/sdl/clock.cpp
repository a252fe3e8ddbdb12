#include "platform/clock.h"

#include <SDL.h>

namespace platform {

std::uint32_t time_ms() {
    return SDL_GetTicks();
}

void idle() {
    SDL_Delay(1);
}

} // namespace platform
