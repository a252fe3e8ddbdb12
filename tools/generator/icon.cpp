#include "icon.h"

#include "block.h"
#include "game_palette.h"

#include <cstdio>

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

namespace {

constexpr int svg_cell = 16;
constexpr int svg_corner = 4;
constexpr double svg_bevel = 2.5;

std::string hex_colour(std::uint8_t entry) {
    static const std::array<std::uint8_t, 768> rgb = game_palette_rgb();
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", rgb[entry * 3u], rgb[entry * 3u + 1],
                  rgb[entry * 3u + 2]);
    return text;
}

// A gradient over the whole icon per piece, so that joined cells shade as one.
std::string piece_gradient(char piece) {
    const Ramp ramp = colours::tile(colour_of(piece));
    return std::string("<linearGradient id=\"") + piece +
           "\" gradientUnits=\"userSpaceOnUse\" x1=\"0\" y1=\"0\" x2=\"64\" y2=\"64\">"
           "<stop offset=\"0\" stop-color=\"" +
           hex_colour(ramp.entry(6)) + "\"/><stop offset=\"1\" stop-color=\"" +
           hex_colour(ramp.entry(3)) + "\"/></linearGradient>\n";
}

// The corner radius where two open sides of a cell meet, else none.
int corner_radius(int mask, int side_a, int side_b) {
    return (mask & side_a) && (mask & side_b) ? svg_corner : 0;
}

// The outline of one cell, clockwise from the top left, with the corners
// between two open sides rounded.
std::string cell_outline(int x, int y, int mask) {
    const int s = svg_cell;
    const int tl = corner_radius(mask, side::top, side::left);
    const int tr = corner_radius(mask, side::top, side::right);
    const int br = corner_radius(mask, side::bottom, side::right);
    const int bl = corner_radius(mask, side::bottom, side::left);
    char path[256];
    std::snprintf(path, sizeof path,
                  "M%d %dH%dA%d %d 0 0 1 %d %dV%dA%d %d 0 0 1 %d %dH%dA%d %d 0 0 1 %d %dV%dA%d "
                  "%d 0 0 1 %d %dZ",
                  x + tl, y, x + s - tr, tr, tr, x + s, y + tr, y + s - br, br, br, x + s - br,
                  y + s, x + bl, bl, bl, x, y + s - bl, y + tl, tl, tl, x + tl, y);
    return path;
}

// The light rim inside the open top and left sides, the dark one inside the
// open bottom and right sides.
std::string cell_rims(int x, int y, int mask, const Ramp& ramp) {
    const auto line = [](double x1, double y1, double x2, double y2, std::uint8_t entry) {
        char text[160];
        std::snprintf(text, sizeof text,
                      "<line x1=\"%g\" y1=\"%g\" x2=\"%g\" y2=\"%g\" stroke=\"%s\"/>", x1, y1, x2,
                      y2, hex_colour(entry).c_str());
        return std::string(text);
    };
    // Rims run on into a joined neighbour and stop short of rounded corners.
    const double near = svg_bevel, far = svg_cell - svg_bevel;
    const double left = mask & side::left ? svg_corner : 0;
    const double right = svg_cell - (mask & side::right ? svg_corner : 0);
    const double top = mask & side::top ? svg_corner : 0;
    const double bottom = svg_cell - (mask & side::bottom ? svg_corner : 0);
    std::string rims;
    if (mask & side::top)
        rims += line(x + left, y + near, x + right, y + near, ramp.entry(7));
    if (mask & side::left)
        rims += line(x + near, y + top, x + near, y + bottom, ramp.entry(7));
    if (mask & side::bottom)
        rims += line(x + left, y + far, x + right, y + far, ramp.entry(2));
    if (mask & side::right)
        rims += line(x + far, y + top, x + far, y + bottom, ramp.entry(2));
    return rims;
}

// One piece: its cells as one shape (so joins leave no seam), outlined thick
// in the dark edge colour and then filled over the outline, which stays only
// along the open sides.
std::string scalable_piece(char piece) {
    const Ramp ramp = colours::tile(colour_of(piece));
    std::string shape, rims;
    for (int row = 0; row < grid; ++row) {
        for (int column = 0; column < grid; ++column) {
            if (piece_at(column, row) != piece)
                continue;
            const int x = column * svg_cell, y = row * svg_cell, mask = open_sides(column, row);
            shape += cell_outline(x, y, mask);
            rims += cell_rims(x, y, mask, ramp);
        }
    }
    return "<path d=\"" + shape + "\" fill=\"none\" stroke-width=\"3\" stroke=\"" +
           hex_colour(ramp.entry(shade::edge)) + "\"/>\n<path d=\"" + shape + "\" fill=\"url(#" +
           piece + ")\"/>\n" + rims + "\n";
}

} // namespace

std::string make_scalable_icon() {
    std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"64\" height=\"64\" "
                      "viewBox=\"-2 -2 68 68\">\n<defs>\n";
    for (char piece : {'T', 'L', 'O'})
        svg += piece_gradient(piece);
    svg += "</defs>\n<g stroke-width=\"1.5\">\n";
    // Each piece over the ones before, so its outline shows where they touch.
    for (char piece : {'T', 'L', 'O'})
        svg += scalable_piece(piece);
    return svg + "</g>\n</svg>\n";
}
