#pragma once

// Filled and outlined rectangles and single-pixel lines in one palette index.

#include <cstdint>

#include "gfx/display.h"

// Corners with x1 <= x2 and y1 <= y2; a filled rectangle covers x1 <= x < x2,
// y1 <= y < y2, an outline x1 <= x <= x2, y1 <= y <= y2. Clipped to the screen.
void draw_rect(const Surface& target, int x1, int y1, int x2, int y2, std::uint32_t colour,
               std::uint8_t filled);

// Both end points are drawn; pixels off the screen are skipped one by one.
void draw_line(const Surface& target, int x1, int y1, int x2, int y2, std::uint32_t colour);
