#pragma once

// Where the SDL backend looks for the General MIDI SoundFont that plays the
// music: the file named by the environment variable BLOKIT_SOUNDFONT when
// there is one, else the system's default, then the SoundFonts Debian installs.

#include <string>
#include <vector>

namespace sdl {

// The paths tried in order; tests may change the list.
std::vector<std::string>& soundfont_candidates();

// BLOKIT_SOUNDFONT's file when it names one, then the candidates that exist
// as files, in order; a file may still turn out not to be a SoundFont when it
// is loaded.
std::vector<std::string> existing_soundfonts();

} // namespace sdl
