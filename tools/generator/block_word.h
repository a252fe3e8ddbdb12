#pragma once

#include "canvas.h"

#include <string_view>

// Big lettering built from game blocks: every inked cell of a glyph becomes a
// block of `block_size` pixels, joined to its inked neighbours so that each
// letter reads as one piece. Letter i takes tile colour colours[i % count].
struct BlockWordStyle {
    int block_size = 16;
    const int* colours = nullptr;
    int colour_count = 0;
    int shadow = 0; // offset of a dark drop shadow, 0 for none
};

int block_word_width(std::string_view text, const BlockWordStyle& style);
void draw_block_word(Canvas& canvas, int x, int y, std::string_view text,
                     const BlockWordStyle& style);
