#pragma once

#include "canvas.h"

#include <array>
#include <string>

// The program's icon: a piece about to land on a stack, drawn with the
// playfield's own blocks on a transparent background (index 0).

// The sizes of the desktop icon theme's bitmap folders.
constexpr std::array<int, 8> icon_sizes = {16, 22, 24, 32, 48, 64, 128, 256};
// The size of the window icon, ICON.PIX.
constexpr int window_icon_size = 64;

// The icon at `size` x `size` pixels. Up to 64 pixels the blocks are drawn
// at the size itself; larger icons enlarge the 64-pixel drawing so that the
// edges keep their proportions (such sizes are multiples of 64).
Canvas make_icon(int size);

// The same picture as an SVG drawing, for the icon theme's scalable folder:
// the pieces in the colours of their tiles, lit from the top left, with
// rounded outer corners.
std::string make_scalable_icon();
