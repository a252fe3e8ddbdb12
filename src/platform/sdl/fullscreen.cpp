#include "platform/sdl/backend.h"

namespace sdl {
namespace {

// A window made for full-screen play has no frame and the desktop's size;
// as a window it gets a frame and the picture's own size.
constexpr int windowed_width = 640;
constexpr int windowed_height = 480;

void leave_fullscreen(SDL_Window* window) {
    SDL_SetWindowFullscreen(window, 0);
    if (!(SDL_GetWindowFlags(window) & SDL_WINDOW_BORDERLESS))
        return;
    SDL_SetWindowBordered(window, SDL_TRUE);
    SDL_SetWindowResizable(window, SDL_TRUE);
    SDL_SetWindowSize(window, windowed_width, windowed_height);
    SDL_SetWindowPosition(window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
}

} // namespace

bool toggles_fullscreen(const SDL_Keysym& key) {
    return key.scancode == SDL_SCANCODE_F11 ||
           ((key.scancode == SDL_SCANCODE_RETURN || key.scancode == SDL_SCANCODE_KP_ENTER) &&
            (key.mod & KMOD_ALT));
}

void toggle_fullscreen() {
    const Backend& b = backend();
    if (!b.window || b.window_destroyed)
        return;
    if (SDL_GetWindowFlags(b.window) & SDL_WINDOW_FULLSCREEN)
        leave_fullscreen(b.window);
    else
        SDL_SetWindowFullscreen(b.window, SDL_WINDOW_FULLSCREEN_DESKTOP);
}

} // namespace sdl
