#pragma once

// Gamepads through SDL's game-controller API. They are opened as they are
// plugged in, in that order, and closed when they go; the first one open is
// pad 0. A pad's buttons read as keys: the d-pad or the left stick left and
// right move, A or d-pad up rotate, B or d-pad down drop (as the keys lent
// by the game for that pad), Start reads as Space and Back as Escape.

#include <SDL.h>

namespace sdl {

// Starts SDL's game-controller support once; pads already plugged in come
// as device-added events.
void start_gamepads();

void gamepad_added(int device_index);
void gamepad_removed(SDL_JoystickID instance);

// True while any pad is open: SDL sees its buttons only as it looks.
bool gamepads_open();

// True while a pad holds a button that reads as this virtual key.
bool gamepad_holds(int virtual_key);

} // namespace sdl
