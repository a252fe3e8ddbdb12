#pragma once

// The graphics that last from start-up to shut-down, drawn by the playfield
// and the screens around it.

#include "gfx/display.h"
#include "gfx/font.h"
#include "gfx/picture_palette.h"

// All text of the game; lasts until the process ends.
extern Font game_font;
// The playfield background, also behind the high-score screens.
extern Surface background_surface;
// The colours of the background picture, set at every game start.
extern Palette game_palette;
