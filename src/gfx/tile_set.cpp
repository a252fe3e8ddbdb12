#include "gfx/tile_set.h"

std::array<std::array<std::unique_ptr<Sprite>, 17>, 8> tile_table;
std::unique_ptr<Sprite> board_side_sprite;
std::unique_ptr<Sprite> board_bottom_sprite;
std::unique_ptr<Sprite> game_over_sprite;

namespace {
constexpr int tile = 20;
}

void cut_tile_set(const Surface& sheet) {
    tile_table[0][0] = make_sprite(sheet, 0, 380, tile, 400);
    for (int colour = 1; colour < 8; ++colour)
        for (int variant = 0; variant < 17; ++variant)
            tile_table[colour][variant] =
                make_sprite(sheet, tile * variant, tile * (colour - 1), tile * variant + tile,
                            tile * (colour - 1) + tile);
    board_side_sprite = make_sprite(sheet, 320, 0, 324, 460);
    board_bottom_sprite = make_sprite(sheet, 324, 0, 532, 4);
    game_over_sprite = make_sprite(sheet, 0, 140, 160, 280);
}

void release_tile_set() {
    for (auto& row : tile_table)
        for (auto& sprite : row)
            sprite.reset();
    board_side_sprite.reset();
    board_bottom_sprite.reset();
    game_over_sprite.reset();
}
