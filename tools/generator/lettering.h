#pragma once

#include "canvas.h"

#include <string_view>

// How a line of text is laid into a picture: each glyph cell becomes a
// square of `scale` pixels, filled from `fill` (light at the top, darker at
// the bottom) and ringed by `outline_width` pixels of `outline`.
struct LetterStyle {
    int scale = 2;
    Ramp fill;
    int outline_width = 1;
    std::uint8_t outline = 1;
};

// Horizontal distance from one character to the next.
int letter_advance(const LetterStyle& style);
// Width of `text` laid out with `style`, outline included.
int text_width(std::string_view text, const LetterStyle& style);
// Draws `text` with the top-left of its first glyph's ink at (x, y).
void draw_lettering(Canvas& canvas, int x, int y, std::string_view text, const LetterStyle& style);
// Draws `text` centred on the column `centre_x`.
void draw_centred(Canvas& canvas, int centre_x, int y, std::string_view text,
                  const LetterStyle& style);
