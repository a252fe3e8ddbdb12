#include "platform/keyboard.h"
#include "platform/trace.h"
#include "platform/win32/backend.h"

namespace platform {

bool key_is_down(int virtual_key) {
    // Looking at the queue lets the system take in pending input, so loops
    // that poll keys without pumping messages still see fresh state.
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
    // Alt+Return switches the presentation and is no Return for the game.
    const bool down = (GetAsyncKeyState(virtual_key) & 0x8000) != 0 &&
                      !(virtual_key == VK_RETURN && (GetAsyncKeyState(VK_MENU) & 0x8000));
    trace_key_poll(virtual_key, down);
    return down;
}

// This backend reads the keyboard only; gamepads are the SDL backend's.
void set_pad_keys(int, const PadKeys&) {}

bool pad_was_unplugged() {
    return false;
}

} // namespace platform
