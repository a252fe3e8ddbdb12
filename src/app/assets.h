#pragma once

// The one persistent setting (the players' key-set choice) and the assets
// that last from start-up to shut-down.

#include "gfx/game_graphics.h"

// Reads the key-set choice (both 0 when nothing usable is stored), loads the
// sound effects, the font, the background with its palette and the tile set,
// and sets the game-wide values to their start-up state. Always true.
bool load_settings_and_assets();

// Stores the key-set choice, then releases the sprites, the background, the
// sound effects and the display. A second call stores again but releases
// nothing twice.
void save_settings_and_release();
