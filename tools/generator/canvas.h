#pragma once

#include <cstdint>
#include <functional>
#include <vector>

// An 8-bit picture of palette indices, rows top to bottom, the form every
// picture of the game takes before it is packed.
struct Canvas {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;

    Canvas(int w, int h, std::uint8_t fill = 0);

    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    std::uint8_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
    // The pixel at (x, y), or index 0 outside the picture.
    std::uint8_t sample(int x, int y) const { return contains(x, y) ? at(x, y) : 0; }
    // Writes one pixel; points outside the picture are ignored.
    void put(int x, int y, std::uint8_t index);
    void fill_rect(int left, int top, int right, int bottom, std::uint8_t index);
    // Copies `source` with its top-left at (x, y); index 0 of the source is
    // left out when `keyed` is set.
    void paste(const Canvas& source, int x, int y, bool keyed);
};

// A run of palette entries from dark to light, `length` entries from `first`.
struct Ramp {
    int first = 0;
    int length = 1;

    // The entry for a brightness of 0 to 1, spread over the neighbouring
    // entries with an ordered 4 x 4 dither so that gradients come out smooth.
    std::uint8_t dithered(double brightness, int x, int y) const;
    std::uint8_t entry(int step) const;
};

struct Point {
    double x;
    double y;
};

// Chooses the index of one pixel of a filled shape from its position.
using Shader = std::function<std::uint8_t(int x, int y)>;

// Fills the polygon given by its corner points (even-odd rule, tested at
// pixel centres).
void fill_polygon(Canvas& canvas, const std::vector<Point>& corners, const Shader& shade);
// Fills the ellipse with centre (cx, cy) and radii rx, ry.
void fill_ellipse(Canvas& canvas, double cx, double cy, double rx, double ry, const Shader& shade);
