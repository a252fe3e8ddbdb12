#pragma once

#include "canvas.h"

// Sides of a block, as the bits of a connection mask: a set bit is an open
// side, drawn with an edge; a clear bit joins the neighbour of the same
// colour, and the block's body runs on to the border there.
namespace side {
constexpr int top = 1;
constexpr int right = 2;
constexpr int bottom = 4;
constexpr int left = 8;
} // namespace side

// Shades of a block ramp (8 entries).
namespace shade {
constexpr int edge = 0;
constexpr int body = 4;
} // namespace shade

// Draws one square block of `size` pixels at (x, y) in the colours of
// `ramp`. Corners where two open sides meet are rounded off; the pixels cut
// away there are taken from `behind`.
void draw_block(Canvas& canvas, int x, int y, int size, Ramp ramp, int mask, const Shader& behind);
