#pragma once

#include "platform/window.h"

// The program: the language, the credits box with the full-screen question,
// the settings, the music, the display, the assets, the logo; then title
// screen and game in turn until a quit is requested; then the advert and the
// shut-down. `show_command` says how the window is first shown. The result is
// the exit code of the quit message that ends the program: 0 on every path.
int WinMain(int show_command = platform::show_normal);
