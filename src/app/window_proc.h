#pragma once

#include "platform/messages.h"

// Set when the application is deactivated; from then on every activation
// restores the display surfaces.
extern bool surfaces_need_restore;

// Set once the window has been destroyed: no key or activation can reach the
// program after that.
extern bool window_destroyed;

// The procedure of the game's window. Keys are polled, never read from
// messages, so it handles only activation, painting, palettes, the cursor and
// the window's end; every message then takes its default course.
void main_window_proc(const platform::Message& message);
