#include "platform/sdl/display_connection.h"
#include "platform/sdl/backend.h"

#include <SDL_syswm.h>
#include <X11/Xlib.h>

#include <poll.h>

namespace sdl {
namespace {

// The game window's X display; null before the window exists and on other
// video drivers.
Display* x11_display() {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (backend().window == nullptr || !SDL_GetWindowWMInfo(backend().window, &info) ||
        info.subsystem != SDL_SYSWM_X11)
        return nullptr;
    return info.info.x11.display;
}

} // namespace

bool display_is_quiet() {
    Display* display = x11_display();
    // Sends what is buffered, and takes in whatever has arrived.
    return display != nullptr && XPending(display) == 0;
}

DisplayWait wait_on_display(int timeout_ms) {
    Display* display = x11_display();
    if (display == nullptr)
        return DisplayWait::Unavailable;
    // Xlib may have read events already, which would never wake the poll.
    if (XPending(display) > 0)
        return DisplayWait::Readable;
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    // A signal ends the wait too: SDL turns an interrupt into a quit event
    // as it looks.
    return poll(&connection, 1, timeout_ms) != 0 ? DisplayWait::Readable : DisplayWait::TimedOut;
}

} // namespace sdl
