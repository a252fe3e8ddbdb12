#pragma once

#include "canvas.h"

// The sheet the playfield is cut from: 7 colours x 17 variants of 20 x 20
// tiles, the empty cell, the two frame strips and the game-over picture.
constexpr int tile_size = 20;

struct SheetRect {
    int left, top, right, bottom;
};

constexpr SheetRect empty_cell_rect{0, 380, 20, 400};
constexpr SheetRect board_side_rect{320, 0, 324, 460};
constexpr SheetRect board_bottom_rect{324, 0, 532, 4};
constexpr SheetRect game_over_rect{0, 140, 160, 280};

// Rectangle of the tile of colour c (1 to 7) and variant v (0 to 16).
constexpr SheetRect tile_rect(int colour, int variant) {
    return {tile_size * variant, tile_size * (colour - 1), tile_size * variant + tile_size,
            tile_size * colour};
}

// The empty board cell at pixel (x, y) of its tile; also what shows through
// the rounded corners of the coloured tiles.
std::uint8_t empty_cell_pixel(int x, int y);

Canvas make_tile_sheet();
