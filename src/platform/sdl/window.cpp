#include "platform/window.h"
#include "platform/message_queue.h"
#include "platform/sdl/backend.h"
#include "platform/sdl/display_loss.h"
#include "platform/sdl/gamepads.h"
#include "platform/sdl/sdl_window.h"

#include <cstdio>
#include <cstring>

namespace sdl {
namespace {

// The window never gets smaller than the picture at half size.
constexpr int smallest_width = 320;
constexpr int smallest_height = 240;

// SDL falls back to these when it reaches no display; their windows are
// never seen, so the game would wait for a player who cannot see it.
bool shows_nothing(const char* driver) {
    for (const char* invisible : {"dummy", "offscreen", "evdev"})
        if (driver && std::strcmp(driver, invisible) == 0)
            return true;
    return false;
}

// Only a driver named on purpose, for tests or the curious, may be one of them.
bool driver_named_by_user() {
    const char* named = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    return named && named[0] != '\0';
}

} // namespace

bool start_video() {
    static const bool started = [] {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            std::fprintf(stderr, "Blokit: no video: %s\n", SDL_GetError());
            return false;
        }
        if (!driver_named_by_user() && shows_nothing(SDL_GetCurrentVideoDriver())) {
            std::fprintf(stderr, "Blokit: no display to show the game on\n");
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
            return false;
        }
        end_when_display_is_lost();
        start_gamepads();
        return true;
    }();
    return started;
}

void update_cursor() {
    const Backend& b = backend();
    if (SDL_WasInit(SDL_INIT_VIDEO))
        SDL_ShowCursor(b.cursor_count >= 0 && !b.cursor_hidden_by_window ? SDL_ENABLE
                                                                         : SDL_DISABLE);
}

GameWindow::GameWindow(SDL_Window* window, platform::WindowStyle style)
    : window_(window), style_(style) {
    backend().window = window;
    backend().window_destroyed = false;
    SDL_GetWindowSize(window, &client_width_, &client_height_);
    keep_minimum_size();
}

void GameWindow::keep_minimum_size() {
    SDL_SetWindowMinimumSize(window_, smallest_width, smallest_height);
}

GameWindow::~GameWindow() {
    if (backend().window == window_)
        backend().window = nullptr;
    SDL_DestroyWindow(window_);
}

platform::Rect GameWindow::rect() const {
    // The visible surface is the client area itself, so the window's frame
    // is never part of it.
    return {0, 0, client_width_, client_height_};
}

void GameWindow::set_client_size(int width, int height) {
    client_width_ = width;
    client_height_ = height;
    if (style_ == platform::WindowStyle::Overlapped)
        SDL_SetWindowSize(window_, width, height);
}

void GameWindow::show(int) {
    SDL_ShowWindow(window_);
    SDL_RaiseWindow(window_);
    // Showing the window makes the program the active one.
    platform::message_queue().push_back({platform::MessageKind::ActivateApp, 1});
}

void GameWindow::set_icon(int width, int height, const std::uint8_t* rgba) {
    // SDL only reads the pixels, and copies them before this returns.
    SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<std::uint8_t*>(rgba), width, height, 32, width * 4, SDL_PIXELFORMAT_RGBA32);
    if (icon == nullptr)
        return;
    SDL_SetWindowIcon(window_, icon);
    SDL_FreeSurface(icon);
}

} // namespace sdl

namespace platform {

bool create_window(const std::string& title, WindowStyle style, int width, int height,
                   std::unique_ptr<Window>& window) {
    if (!sdl::start_video())
        return false;
    Uint32 flags = SDL_WINDOW_HIDDEN;
    if (style == WindowStyle::Popup) {
        SDL_DisplayMode desktop{};
        if (SDL_GetDesktopDisplayMode(0, &desktop) == 0) {
            width = desktop.w;
            height = desktop.h;
        }
        flags |= SDL_WINDOW_BORDERLESS;
    } else {
        flags |= SDL_WINDOW_RESIZABLE;
    }
    SDL_Window* created =
        SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                         width > 0 ? width : 640, height > 0 ? height : 480, flags);
    if (!created) {
        std::fprintf(stderr, "Blokit: no window: %s\n", SDL_GetError());
        return false;
    }
    window = std::make_unique<sdl::GameWindow>(created, style);
    return true;
}

// SDL sizes windows by their client area, so no frame is added.
void adjust_window_rect(Rect&, WindowStyle) {}

int show_cursor(bool show) {
    const int count = sdl::backend().cursor_count += show ? 1 : -1;
    sdl::update_cursor();
    return count;
}

void set_cursor(Cursor cursor) {
    sdl::backend().cursor_hidden_by_window = cursor == Cursor::None;
    sdl::update_cursor();
}

} // namespace platform
