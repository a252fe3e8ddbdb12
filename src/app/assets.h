#pragma once

// The assets that last from start-up to shut-down; the shut-down stores the
// lasting settings (app/settings.h) as it releases them.

#include "gfx/game_graphics.h"

// Loads the sound effects, the font, the background with its palette and the
// tile set; whatever is missing stays absent.
void load_assets();

// Stores the settings, then releases the sprites, the background, the sound
// effects and the display. A second call stores again but releases nothing
// twice.
void save_settings_and_release();
