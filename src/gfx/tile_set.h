#pragma once

// The sprites the playfield is built from, cut from the tile sheet.

#include <array>
#include <memory>

#include "gfx/sprite.h"

// tile_table[colour][variant]: colour 0 is the empty cell (variant 0 only),
// colours 1 to 7 have 17 variants each.
extern std::array<std::array<std::unique_ptr<Sprite>, 17>, 8> tile_table;
extern std::unique_ptr<Sprite> board_side_sprite;   // 4 x 460, beside a board
extern std::unique_ptr<Sprite> board_bottom_sprite; // 208 x 4, under a board
extern std::unique_ptr<Sprite> game_over_sprite;    // 160 x 140, over a finished board

// Cuts every sprite of the tile set from `sheet` (which should carry colour
// key 0); the sheet is not needed afterwards.
void cut_tile_set(const Surface& sheet);
// Deletes every sprite of the tile set.
void release_tile_set();
