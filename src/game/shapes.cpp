#include "game/shapes.h"

namespace {

// Row by row, '#' occupied; only box rows 1 and 2 are used when a piece
// comes in.
constexpr const char* shape_rows[piece_kinds] = {
    "...."
    ".##."
    ".##."
    "....", // square
    "...."
    ".##."
    "##.."
    "....", // S
    "...."
    "##.."
    ".##."
    "....", // Z
    "...."
    ".###"
    ".#.."
    "....", // L
    "...."
    "###."
    "..#."
    "....", // J
    "...."
    "####"
    "...."
    "....", // bar
    "...."
    ".###"
    "..#."
    "....", // T
};

} // namespace

std::array<std::uint8_t, 16> shape_cells(int kind) {
    std::array<std::uint8_t, 16> cells{};
    const char* rows = shape_rows[kind - 1];
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            cells[c * 4 + r] = rows[r * 4 + c] == '#' ? 1 : 0;
    return cells;
}
