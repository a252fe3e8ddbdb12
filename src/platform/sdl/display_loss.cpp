#include "platform/sdl/display_loss.h"

#include <SDL.h>
#include <X11/Xlib.h>

#include <cstring>
#include <unistd.h>

namespace sdl {
namespace {

int lost(Display*) {
    static constexpr char text[] = "Blokit: the connection to the display is lost\n";
    // Only what is safe at any moment: the process may be anywhere in Xlib.
    [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, text, sizeof text - 1);
    _exit(1);
}

} // namespace

void end_when_display_is_lost() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver != nullptr && std::strcmp(driver, "x11") == 0)
        XSetIOErrorHandler(lost);
}

} // namespace sdl
