#pragma once

// Where the SDL backend looks for the General MIDI SoundFont that plays the
// music: the system's default first, then the SoundFonts Debian installs.

#include <string>
#include <vector>

namespace sdl {

// The paths tried in order; tests may change the list.
std::vector<std::string>& soundfont_candidates();

// The candidates that exist as files, in order; a file may still turn out
// not to be a SoundFont when it is loaded.
std::vector<std::string> existing_soundfonts();

} // namespace sdl
