#pragma once

#include "canvas.h"

// Pieces of scenery the full-screen pictures are composed of.

// A vertical gradient through `ramp` from brightness `top` at row `from` to
// `bottom` at row `to`, over the whole width.
void paint_gradient(Canvas& canvas, Ramp ramp, int from, int to, double top, double bottom);
// Scattered stars above row `horizon`, thinning out towards it.
void paint_stars(Canvas& canvas, int horizon, int count, std::uint32_t seed);
// A full moon with soft shading and a few darker seas.
void paint_moon(Canvas& canvas, int cx, int cy, int radius);
// A ridge of rolling hills whose crest lies around row `crest`; everything
// below the crest is filled with `ramp`, lighter along the ridge.
void paint_hills(Canvas& canvas, int crest, int swing, double phase, Ramp ramp, double light);
// A quill feather from its nib at (nib_x, nib_y) to its tip.
void paint_quill(Canvas& canvas, Point nib, Point tip, double vane_width);
// A heap of joined game tiles along the bottom of the area (left, bottom),
// `columns` tiles wide, as if a game were in progress. With `shade_all`
// every piece is drawn in that one ramp, as a faint relief.
void paint_tile_heap(Canvas& canvas, int left, int bottom, int columns, int max_height,
                     std::uint32_t seed, const Ramp* shade_all = nullptr);
