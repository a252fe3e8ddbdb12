#include "gfx/game_graphics.h"

Font game_font;
Surface background_surface;
Palette game_palette{};
