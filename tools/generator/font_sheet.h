#pragma once

#include "canvas.h"

// The game's font: 96 glyph cells of 16 x 14 pixels for the codes 32 to 127,
// 20 to a row, index 0 transparent.
constexpr int font_cell_width = 16;
constexpr int font_cell_height = 14;
constexpr int font_glyphs_per_row = 20;

Canvas make_font_sheet();
