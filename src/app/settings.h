#pragma once

// The lasting settings, kept between runs in the user's settings store (the
// registry on Windows, a hand-editable file elsewhere): the players' key-set
// choice (value "Options", two numbers) and whether the music plays (value
// "Music", 0 for off).

// Sets the game-wide values to their start-up state, then reads the
// settings: both first key sets and the music on where nothing usable is
// stored.
void load_settings();

// Stores the settings; a place that cannot be written loses them silently.
void save_settings();
