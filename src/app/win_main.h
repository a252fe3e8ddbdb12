#pragma once

#include <optional>
#include <string>

#include "app/network_link.h"
#include "platform/window.h"

// The program: the language, the credits box with the full-screen question,
// the settings, the music, the display, the assets, the logo; then title
// screen and game in turn until a quit is requested; then the advert and the
// shut-down. `show_command` says how the window is first shown. With
// `replay_file` the replay is watched before the first title screen; one that
// cannot be played is refused with a message box before anything else, and
// the result is 1. Otherwise the result is the exit code of the quit message
// that ends the program: 0 on every path. With `network` the program hosts or
// joins a network game instead of showing the logo, and comes to the title
// screen when that ends.
int WinMain(int show_command = platform::show_normal,
            const std::optional<std::string>& replay_file = std::nullopt,
            const std::optional<NetworkRequest>& network = std::nullopt);
