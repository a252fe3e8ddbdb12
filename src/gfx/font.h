#pragma once

// Text from a bitmap font: a sheet of equal glyph cells for the codes 32 to
// 127 in ASCII order, row by row.

#include <cstdint>

#include "gfx/display.h"

struct Font {
    std::int32_t y_offset = 0;       // sheet row where the glyph grid starts
    std::int32_t glyphs_per_row = 0; // sheet width / glyph width
    Surface surface;                 // the sheet
    std::int32_t cell_width = 0;
    std::int32_t cell_height = 0;
    std::int32_t glyph_width = 0; // drawn width and the advance per character
    std::int32_t glyph_height = 0;
};

// A font over a loaded sheet; index 0 of the sheet becomes transparent.
Font make_font(Surface sheet, int y_offset, int glyph_width, int glyph_height);

// Draws the zero-terminated `text` with its first character's top-left at
// (x, y); bytes outside 32 to 127 leave their cell empty. A glyph that does
// not lie wholly inside the target is left out.
void draw_text(const Font& font, const Surface& target, int x, int y, const char* text);
// The same, writing every pixel of each glyph cell, index 0 included.
void draw_text_opaque(const Font& font, const Surface& target, int x, int y, const char* text);
