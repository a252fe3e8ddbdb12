#pragma once

// The game's one piece of background music.

// The file it is played from, in the data directory.
inline constexpr const char* music_file_name = "QMBLOKIT.MDS";

// Loads the music file and, with `play`, starts it looping. False when the
// file could not be loaded or played; any music playing before is stopped.
bool music_start(const char* file_name, bool play);

// Stops and frees the music, if any is loaded.
void music_stop();

// Whether the music is to sound: a lasting setting that the player switches
// with M. Start-up starts the music playing only while it is set.
extern bool music_on;

// Sets music_on and makes the loaded music follow it, leaving the sound
// effects alone: off, its stream stands paused, so that nothing is
// synthesised; on again, it plays on from where it stood, or starts when it
// never did.
void switch_music(bool on);
