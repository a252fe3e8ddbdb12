// Alt+Return and F11 switch the game between its window and the whole
// screen at any time, whichever the player chose at the start: the window
// gets the style of the other kind and the picture is shown the other way.

#include "platform/win32/backend.h"

namespace win32 {
namespace {

constexpr DWORD window_style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr int picture_width = 640;
constexpr int picture_height = 480;

// Bit 29 of a key message: Alt is held; bit 30: the key was already down.
constexpr LPARAM alt_held = LPARAM(1) << 29;
constexpr LPARAM repeated = LPARAM(1) << 30;

void make_window_cover_screen(HWND window) {
    SetWindowLongPtrW(window, GWL_STYLE, WS_POPUP | WS_VISIBLE);
    SetWindowPos(window, HWND_TOP, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                 GetSystemMetrics(SM_CYSCREEN), SWP_FRAMECHANGED | SWP_SHOWWINDOW);
}

// A framed window around a client area of the picture's size, in the
// middle of the screen.
void make_window_framed(HWND window) {
    SetWindowLongPtrW(window, GWL_STYLE, window_style | WS_VISIBLE);
    RECT frame{0, 0, picture_width, picture_height};
    AdjustWindowRectEx(&frame, window_style, FALSE, 0);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    SetWindowPos(window, HWND_NOTOPMOST, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height,
                 SWP_FRAMECHANGED | SWP_SHOWWINDOW);
}

} // namespace

bool toggles_fullscreen(UINT message, WPARAM wparam, LPARAM lparam) {
    if (lparam & repeated)
        return false;
    return (message == WM_SYSKEYDOWN && wparam == VK_RETURN && (lparam & alt_held)) ||
           (message == WM_KEYDOWN && wparam == VK_F11);
}

void toggle_fullscreen() {
    const Backend& b = backend();
    if (!b.window || !b.screen)
        return;
    // The window covers the screen before it takes it over, and gets its
    // frame back only once the desktop's mode is back (also when the display
    // refused the game's mode).
    const bool exclusive = !b.screen->exclusive();
    if (exclusive)
        make_window_cover_screen(b.window);
    b.screen->present_exclusive(exclusive);
    if (!b.screen->exclusive())
        make_window_framed(b.window);
}

} // namespace win32
