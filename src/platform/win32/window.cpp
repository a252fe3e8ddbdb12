#include "platform/win32/game_window.h"

namespace win32 {
namespace {

constexpr wchar_t class_name[] = L"BlokitWindow";

DWORD style_bits(platform::WindowStyle style) {
    if (style == platform::WindowStyle::Popup)
        return WS_POPUP;
    return WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
}

bool register_class() {
    static const bool registered = [] {
        WNDCLASSEXW window_class{};
        window_class.cbSize = sizeof window_class;
        window_class.style = CS_HREDRAW | CS_VREDRAW;
        window_class.lpfnWndProc = window_procedure;
        window_class.hInstance = backend().instance;
        // The program's own icon, from its resources (the first one).
        window_class.hIcon = LoadIconW(backend().instance, MAKEINTRESOURCEW(1));
        window_class.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        window_class.lpszClassName = class_name;
        return RegisterClassExW(&window_class) != 0;
    }();
    return registered;
}

} // namespace

GameWindow::GameWindow(HWND window, platform::WindowStyle style) : window_(window), style_(style) {
    backend().window = window;
}

GameWindow::~GameWindow() {
    // The window goes without a message to the game: the game ends it.
    if (backend().window == window_)
        backend().window = nullptr;
    if (IsWindow(window_))
        DestroyWindow(window_);
    if (icon_)
        DestroyIcon(icon_);
}

platform::Rect GameWindow::rect() const {
    RECT outer{};
    GetWindowRect(window_, &outer);
    // A game opened in a window draws its picture where the window's client
    // area lies on the screen; switched to full screen, that is the top left.
    if (style_ == platform::WindowStyle::Overlapped && backend().screen &&
        backend().screen->exclusive()) {
        RECT client{};
        GetClientRect(window_, &client);
        AdjustWindowRectEx(&client, style_bits(style_), FALSE, 0);
        outer = client;
    }
    return {static_cast<int>(outer.left), static_cast<int>(outer.top),
            static_cast<int>(outer.right), static_cast<int>(outer.bottom)};
}

void GameWindow::set_client_size(int width, int height) {
    if (style_ != platform::WindowStyle::Overlapped)
        return;
    RECT frame{0, 0, width, height};
    AdjustWindowRectEx(&frame, style_bits(style_), FALSE, 0);
    SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void GameWindow::show(int show_command) {
    ShowWindow(window_, show_command);
    UpdateWindow(window_);
    SetForegroundWindow(window_);
}

void GameWindow::set_icon(int width, int height, const std::uint8_t* rgba) {
    // A 32-bit top-down bitmap in the system's blue-green-red-alpha order; its
    // alpha makes the mask redundant, but an icon must have one.
    BITMAPV5HEADER header{};
    header.bV5Size = sizeof header;
    header.bV5Width = width;
    header.bV5Height = -height;
    header.bV5Planes = 1;
    header.bV5BitCount = 32;
    header.bV5Compression = BI_BITFIELDS;
    header.bV5RedMask = 0x00FF0000;
    header.bV5GreenMask = 0x0000FF00;
    header.bV5BlueMask = 0x000000FF;
    header.bV5AlphaMask = 0xFF000000;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP colour = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header),
                                      DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    if (!colour)
        return;
    auto* out = static_cast<std::uint8_t*>(bits);
    for (int i = 0; i < width * height; ++i) {
        out[4 * i + 0] = rgba[4 * i + 2];
        out[4 * i + 1] = rgba[4 * i + 1];
        out[4 * i + 2] = rgba[4 * i + 0];
        out[4 * i + 3] = rgba[4 * i + 3];
    }
    HBITMAP mask = CreateBitmap(width, height, 1, 1, nullptr);
    ICONINFO info{TRUE, 0, 0, mask, colour};
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(mask);
    DeleteObject(colour);
    if (!icon)
        return;
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    if (icon_)
        DestroyIcon(icon_);
    icon_ = icon;
}

} // namespace win32

namespace platform {

bool create_window(const std::string& title, WindowStyle style, int width, int height,
                   std::unique_ptr<Window>& window) {
    if (!win32::register_class())
        return false;
    int left = CW_USEDEFAULT;
    int top = CW_USEDEFAULT;
    if (style == WindowStyle::Popup) {
        left = top = 0;
        width = GetSystemMetrics(SM_CXSCREEN);
        height = GetSystemMetrics(SM_CYSCREEN);
    }
    HWND created =
        CreateWindowExW(0, win32::class_name, win32::widen(title).c_str(), win32::style_bits(style),
                        left, top, width > 0 ? width : 640, height > 0 ? height : 480, nullptr,
                        nullptr, win32::backend().instance, nullptr);
    if (!created)
        return false;
    window = std::make_unique<win32::GameWindow>(created, style);
    return true;
}

void adjust_window_rect(Rect& rect, WindowStyle style) {
    RECT frame{rect.left, rect.top, rect.right, rect.bottom};
    AdjustWindowRectEx(&frame, win32::style_bits(style), FALSE, 0);
    rect = {static_cast<int>(frame.left), static_cast<int>(frame.top),
            static_cast<int>(frame.right), static_cast<int>(frame.bottom)};
}

int show_cursor(bool show) {
    return ShowCursor(show ? TRUE : FALSE);
}

void set_cursor(Cursor cursor) {
    win32::backend().cursor = cursor == Cursor::None
                                  ? nullptr
                                  : LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    SetCursor(win32::backend().cursor);
}

} // namespace platform
