#pragma once

// Where the SDL backend looks for the General MIDI SoundFont that plays the
// music: the system's default first, then the SoundFonts Debian installs.

#include <string>
#include <vector>

namespace sdl {

// The paths tried in order; tests may change the list.
std::vector<std::string>& soundfont_candidates();

// The first candidate that exists, or an empty string.
std::string find_soundfont();

} // namespace sdl
