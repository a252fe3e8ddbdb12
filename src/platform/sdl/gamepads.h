#pragma once

// Gamepads through SDL's game-controller API. A pad plugged in takes the
// first free place (pad 0 or pad 1) and keeps it until it is unplugged; a
// third pad is left alone. A pad's buttons read as the keys the game lent to
// its place: the d-pad or the left stick left and right move, A or d-pad up
// rotate, B or d-pad down drop, Start and Back (Space and Escape unless the
// game lends others).

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
