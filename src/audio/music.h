#pragma once

// The game's one piece of background music.

// The file it is played from, in the data directory.
inline constexpr const char* music_file_name = "QMBLOKIT.MDS";

// Loads the music file and, with `play`, starts it looping. False when the
// file could not be loaded or played; any music playing before is stopped.
bool music_start(const char* file_name, bool play);

// Stops and frees the music, if any is loaded.
void music_stop();
