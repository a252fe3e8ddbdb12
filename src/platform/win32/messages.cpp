#include "platform/messages.h"
#include "platform/clock.h"
#include "platform/message_queue.h"
#include "platform/win32/backend.h"

#include <algorithm>

namespace win32 {
namespace {

using platform::Message;
using platform::MessageKind;

void post(MessageKind kind, std::intptr_t wparam = 0) {
    platform::message_queue().push_back({kind, wparam});
}

void post_once(MessageKind kind) {
    const auto& messages = platform::message_queue();
    if (std::none_of(messages.begin(), messages.end(),
                     [kind](const Message& message) { return message.kind == kind; }))
        post(kind);
}

void paint(HWND window) {
    PAINTSTRUCT painting;
    BeginPaint(window, &painting);
    EndPaint(window, &painting);
    if (backend().screen)
        backend().screen->repaint();
    post_once(MessageKind::Paint);
}

// The game's own cursor inside the client area, the system's elsewhere.
bool set_cursor(LPARAM lparam) {
    post_once(MessageKind::SetCursor);
    if (LOWORD(lparam) != HTCLIENT)
        return false;
    SetCursor(backend().cursor);
    return true;
}

} // namespace

LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (window != backend().window)
        return DefWindowProcW(window, message, wparam, lparam);
    switch (message) {
    case WM_ACTIVATEAPP:
        post(MessageKind::ActivateApp, wparam ? 1 : 0);
        return 0;
    case WM_PAINT:
        paint(window);
        return 0;
    case WM_ERASEBKGND:
        return 1; // the picture covers the whole client area
    case WM_CLOSE:
        post(MessageKind::Close);
        return 0;
    case WM_DESTROY:
        // Delivered at once, as the system does while the window goes.
        backend().window = nullptr;
        platform::dispatch_message({MessageKind::Destroy, 0});
        return 0;
    case WM_SETCURSOR:
        if (set_cursor(lparam))
            return TRUE;
        break;
    case WM_PALETTECHANGED:
        post(MessageKind::PaletteChanged, reinterpret_cast<HWND>(wparam) == window ? 1 : 0);
        return 0;
    case WM_QUERYNEWPALETTE:
        post(MessageKind::QueryNewPalette);
        return TRUE;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (toggles_fullscreen(message, wparam, lparam)) {
            toggle_fullscreen();
            return 0;
        }
        break;
    case WM_SYSCHAR:
        if (wparam == '\r')
            return 0; // Alt+Return has switched the screen: no beep for it
        break;
    default:
        break;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

} // namespace win32

namespace platform {

void default_window_procedure(const Message& message) {
    if (message.kind == MessageKind::Close && win32::backend().window)
        DestroyWindow(win32::backend().window);
}

// Hands every waiting system message to the window's procedure, which
// queues the ones the game handles.
void pump_system_messages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void await_system_messages(bool) {
    WaitMessage();
}

} // namespace platform
