#pragma once

namespace platform {

// Windows virtual-key codes are the game's key names; only those it polls
// are listed.
namespace vk {
constexpr int Backspace = 0x08;
constexpr int Tab = 0x09;
constexpr int Return = 0x0D;
constexpr int Shift = 0x10;
constexpr int Control = 0x11;
constexpr int Escape = 0x1B;
constexpr int Space = 0x20;
constexpr int Left = 0x25;
constexpr int Up = 0x26;
constexpr int Right = 0x27;
constexpr int Down = 0x28;
constexpr int F1 = 0x70;
constexpr int F2 = 0x71;
// Digits and letters are their ASCII codes: '1' is 0x31, 'A' is 0x41.
} // namespace vk

// True while the key with this virtual-key code is held down right now, on
// the keyboard or through a gamepad.
bool key_is_down(int virtual_key);

// The keys a player's gamepad reads as: move left, move right, rotate (A),
// drop (B), Start and Back.
struct PadKeys {
    int left = 0;
    int right = 0;
    int rotate = 0;
    int drop = 0;
    int start = vk::Space;
    int back = vk::Escape;
};

// From now on gamepad `pad` (0 the first one plugged in, 1 the second; a pad
// keeps its number until it is unplugged) reads as these keys.
void set_pad_keys(int pad, const PadKeys& keys);

// True when a gamepad has been unplugged since the last call, which forgets
// it.
bool pad_was_unplugged();

} // namespace platform
