#include "platform/sdl/screen_readback.h"
#include "platform/sdl/backend.h"

namespace sdl {

bool read_screen(std::vector<std::uint32_t>& pixels, int& width, int& height) {
    Screen* screen = backend().screen;
    return screen && screen->read(pixels, width, height);
}

double present_rate() {
    const Screen* screen = backend().screen;
    return screen ? screen->rate() : 0;
}

} // namespace sdl
