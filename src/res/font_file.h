#pragma once

#include "gfx/font.h"

// A font over the picture file `name` (its palette is not taken). When the
// picture cannot be loaded the font has no sheet and draws nothing.
Font make_font(const char* name, int y_offset, int glyph_width, int glyph_height);
