#include "icon.h"

#include "block.h"
#include "game_palette.h"

namespace {

constexpr int grid = 4;
// Which piece covers each cell: a T falling onto an L and an O. Cells of one
// piece are joined.
constexpr std::array<const char*, grid> layout = {
    ".TTT",
    "..T.",
    "L.OO",
    "LLOO",
};
constexpr int largest_block = 16;
constexpr int smallest_bevelled_block = 12;

int colour_of(char piece) {
    switch (piece) {
    case 'T':
        return 7; // violet
    case 'L':
        return 2; // orange
    default:
        return 5; // cyan
    }
}

char piece_at(int column, int row) {
    if (column < 0 || row < 0 || column >= grid || row >= grid)
        return '.';
    return layout[static_cast<std::size_t>(row)][column];
}

// The open sides of a cell: those without a cell of the same piece beyond.
int open_sides(int column, int row) {
    const char piece = piece_at(column, row);
    int mask = 0;
    if (piece_at(column, row - 1) != piece)
        mask |= side::top;
    if (piece_at(column + 1, row) != piece)
        mask |= side::right;
    if (piece_at(column, row + 1) != piece)
        mask |= side::bottom;
    if (piece_at(column - 1, row) != piece)
        mask |= side::left;
    return mask;
}

// Blocks too small for the playfield's bevels: an outline on the open
// sides, with the outer corner pixel left out, a light rim at the top and
// left, the body colour inside.
void draw_small_block(Canvas& canvas, int x, int y, int size, Ramp ramp, int mask) {
    for (int py = 0; py < size; ++py) {
        for (int px = 0; px < size; ++px) {
            const bool top = py == 0 && (mask & side::top);
            const bool bottom = py == size - 1 && (mask & side::bottom);
            const bool left = px == 0 && (mask & side::left);
            const bool right = px == size - 1 && (mask & side::right);
            if ((top || bottom) && (left || right))
                continue;
            int shade = shade::body;
            if (top || bottom || left || right)
                shade = shade::edge;
            else if ((py == 1 && (mask & side::top)) || (px == 1 && (mask & side::left)))
                shade = 6;
            canvas.put(x + px, y + py, ramp.entry(shade));
        }
    }
}

Canvas draw_pieces(int size, int block) {
    Canvas icon(size, size, colours::transparent);
    const int margin = (size - grid * block) / 2;
    const Shader behind = [](int, int) { return colours::transparent; };
    for (int row = 0; row < grid; ++row) {
        for (int column = 0; column < grid; ++column) {
            const char piece = piece_at(column, row);
            if (piece == '.')
                continue;
            const int x = margin + column * block, y = margin + row * block;
            const Ramp ramp = colours::tile(colour_of(piece));
            if (block < smallest_bevelled_block)
                draw_small_block(icon, x, y, block, ramp, open_sides(column, row));
            else
                draw_block(icon, x, y, block, ramp, open_sides(column, row), behind);
        }
    }
    return icon;
}

Canvas enlarged(const Canvas& source, int factor) {
    Canvas result(source.width * factor, source.height * factor);
    for (int y = 0; y < result.height; ++y)
        for (int x = 0; x < result.width; ++x)
            result.put(x, y, source.at(x / factor, y / factor));
    return result;
}

} // namespace

Canvas make_icon(int size) {
    const int block = size / grid;
    if (block <= largest_block)
        return draw_pieces(size, block);
    const int drawn = grid * largest_block;
    return enlarged(draw_pieces(drawn, largest_block), size / drawn);
}
