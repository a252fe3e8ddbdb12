#include "platform/keyboard.h"
#include "platform/sdl/backend.h"
#include "platform/sdl/gamepads.h"
#include "platform/sdl/key_map.h"
#include "platform/trace.h"

#include <array>
#include <utility>

namespace sdl {
namespace {

struct Position {
    int virtual_key;
    SDL_Scancode first;
    SDL_Scancode second;
};

// Keys named by where they are on the keyboard (a US layout's positions for
// the punctuation keys).
constexpr std::array positions{
    Position{0x08, SDL_SCANCODE_BACKSPACE, SDL_SCANCODE_UNKNOWN},
    Position{0x09, SDL_SCANCODE_TAB, SDL_SCANCODE_UNKNOWN},
    Position{0x0D, SDL_SCANCODE_RETURN, SDL_SCANCODE_KP_ENTER},
    Position{0x10, SDL_SCANCODE_LSHIFT, SDL_SCANCODE_RSHIFT},
    Position{0x11, SDL_SCANCODE_LCTRL, SDL_SCANCODE_RCTRL},
    Position{0x12, SDL_SCANCODE_LALT, SDL_SCANCODE_RALT},
    Position{0x13, SDL_SCANCODE_PAUSE, SDL_SCANCODE_UNKNOWN},
    Position{0x14, SDL_SCANCODE_CAPSLOCK, SDL_SCANCODE_UNKNOWN},
    Position{0x1B, SDL_SCANCODE_ESCAPE, SDL_SCANCODE_UNKNOWN},
    Position{0x20, SDL_SCANCODE_SPACE, SDL_SCANCODE_UNKNOWN},
    Position{0x21, SDL_SCANCODE_PAGEUP, SDL_SCANCODE_UNKNOWN},
    Position{0x22, SDL_SCANCODE_PAGEDOWN, SDL_SCANCODE_UNKNOWN},
    Position{0x23, SDL_SCANCODE_END, SDL_SCANCODE_UNKNOWN},
    Position{0x24, SDL_SCANCODE_HOME, SDL_SCANCODE_UNKNOWN},
    Position{0x25, SDL_SCANCODE_LEFT, SDL_SCANCODE_UNKNOWN},
    Position{0x26, SDL_SCANCODE_UP, SDL_SCANCODE_UNKNOWN},
    Position{0x27, SDL_SCANCODE_RIGHT, SDL_SCANCODE_UNKNOWN},
    Position{0x28, SDL_SCANCODE_DOWN, SDL_SCANCODE_UNKNOWN},
    Position{0x2C, SDL_SCANCODE_PRINTSCREEN, SDL_SCANCODE_UNKNOWN},
    Position{0x2D, SDL_SCANCODE_INSERT, SDL_SCANCODE_UNKNOWN},
    Position{0x2E, SDL_SCANCODE_DELETE, SDL_SCANCODE_UNKNOWN},
    Position{0x5B, SDL_SCANCODE_LGUI, SDL_SCANCODE_UNKNOWN},
    Position{0x5C, SDL_SCANCODE_RGUI, SDL_SCANCODE_UNKNOWN},
    Position{0x5D, SDL_SCANCODE_APPLICATION, SDL_SCANCODE_UNKNOWN},
    Position{0x6A, SDL_SCANCODE_KP_MULTIPLY, SDL_SCANCODE_UNKNOWN},
    Position{0x6B, SDL_SCANCODE_KP_PLUS, SDL_SCANCODE_UNKNOWN},
    Position{0x6D, SDL_SCANCODE_KP_MINUS, SDL_SCANCODE_UNKNOWN},
    Position{0x6E, SDL_SCANCODE_KP_PERIOD, SDL_SCANCODE_UNKNOWN},
    Position{0x6F, SDL_SCANCODE_KP_DIVIDE, SDL_SCANCODE_UNKNOWN},
    Position{0x90, SDL_SCANCODE_NUMLOCKCLEAR, SDL_SCANCODE_UNKNOWN},
    Position{0x91, SDL_SCANCODE_SCROLLLOCK, SDL_SCANCODE_UNKNOWN},
    Position{0xA0, SDL_SCANCODE_LSHIFT, SDL_SCANCODE_UNKNOWN},
    Position{0xA1, SDL_SCANCODE_RSHIFT, SDL_SCANCODE_UNKNOWN},
    Position{0xA2, SDL_SCANCODE_LCTRL, SDL_SCANCODE_UNKNOWN},
    Position{0xA3, SDL_SCANCODE_RCTRL, SDL_SCANCODE_UNKNOWN},
    Position{0xA4, SDL_SCANCODE_LALT, SDL_SCANCODE_UNKNOWN},
    Position{0xA5, SDL_SCANCODE_RALT, SDL_SCANCODE_UNKNOWN},
    Position{0xBA, SDL_SCANCODE_SEMICOLON, SDL_SCANCODE_UNKNOWN},
    Position{0xBB, SDL_SCANCODE_EQUALS, SDL_SCANCODE_UNKNOWN},
    Position{0xBC, SDL_SCANCODE_COMMA, SDL_SCANCODE_UNKNOWN},
    Position{0xBD, SDL_SCANCODE_MINUS, SDL_SCANCODE_UNKNOWN},
    Position{0xBE, SDL_SCANCODE_PERIOD, SDL_SCANCODE_UNKNOWN},
    Position{0xBF, SDL_SCANCODE_SLASH, SDL_SCANCODE_UNKNOWN},
    Position{0xC0, SDL_SCANCODE_GRAVE, SDL_SCANCODE_UNKNOWN},
    Position{0xDB, SDL_SCANCODE_LEFTBRACKET, SDL_SCANCODE_UNKNOWN},
    Position{0xDC, SDL_SCANCODE_BACKSLASH, SDL_SCANCODE_UNKNOWN},
    Position{0xDD, SDL_SCANCODE_RIGHTBRACKET, SDL_SCANCODE_UNKNOWN},
    Position{0xDE, SDL_SCANCODE_APOSTROPHE, SDL_SCANCODE_UNKNOWN},
    Position{0xE2, SDL_SCANCODE_NONUSBACKSLASH, SDL_SCANCODE_UNKNOWN},
};

// The key whose label in the current layout is `character`, or the key at
// `position` when no key of the layout carries it (the digits of layouts
// that shift them).
int labelled(SDL_Keycode character, SDL_Scancode position) {
    const SDL_Scancode found = SDL_GetScancodeFromKey(character);
    return found != SDL_SCANCODE_UNKNOWN ? found : position;
}

} // namespace

std::vector<int> scancodes_for(int virtual_key) {
    if (virtual_key >= 'A' && virtual_key <= 'Z')
        return {labelled('a' + (virtual_key - 'A'),
                         SDL_Scancode(SDL_SCANCODE_A + (virtual_key - 'A')))};
    if (virtual_key == '0')
        return {labelled('0', SDL_SCANCODE_0)};
    if (virtual_key >= '1' && virtual_key <= '9')
        return {labelled(virtual_key, SDL_Scancode(SDL_SCANCODE_1 + (virtual_key - '1')))};
    if (virtual_key >= 0x60 && virtual_key <= 0x69) // keypad digits
        return {virtual_key == 0x60 ? SDL_SCANCODE_KP_0 : SDL_SCANCODE_KP_1 + (virtual_key - 0x61)};
    if (virtual_key >= 0x70 && virtual_key <= 0x7B) // F1 to F12
        return {SDL_SCANCODE_F1 + (virtual_key - 0x70)};
    for (const Position& position : positions)
        if (position.virtual_key == virtual_key) {
            if (position.second == SDL_SCANCODE_UNKNOWN)
                return {position.first};
            return {position.first, position.second};
        }
    return {};
}

namespace {

// Loops that poll keys without pumping messages still see fresh state.
void refresh_key_state() {
    if (SDL_WasInit(SDL_INIT_VIDEO))
        look_at_display();
}

} // namespace

} // namespace sdl

namespace platform {

bool key_is_down(int virtual_key) {
    sdl::refresh_key_state();
    // Alt+Return switches the presentation and is no Return for the game.
    if (virtual_key == vk::Return && (SDL_GetModState() & KMOD_ALT))
        return false;
    int count = 0;
    const Uint8* state = SDL_GetKeyboardState(&count);
    bool down = false;
    for (int scancode : sdl::scancodes_for(virtual_key))
        down = down || (scancode > 0 && scancode < count && state[scancode]);
    down = down || sdl::gamepad_holds(virtual_key);
    platform::trace_key_poll(virtual_key, down);
    return down;
}

} // namespace platform
