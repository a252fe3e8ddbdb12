#include "scenery.h"

#include "block.h"
#include "game_palette.h"
#include "random_source.h"
#include "tile_sheet.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

constexpr double pi = 3.14159265358979323846;

} // namespace

void paint_gradient(Canvas& canvas, Ramp ramp, int from, int to, double top, double bottom) {
    for (int y = std::max(0, from); y < std::min(canvas.height, to); ++y) {
        const double t = to - from <= 1 ? 0.0 : double(y - from) / (to - from - 1);
        for (int x = 0; x < canvas.width; ++x) {
            canvas.put(x, y, ramp.dithered(top + (bottom - top) * t, x, y));
        }
    }
}

void paint_stars(Canvas& canvas, int horizon, int count, std::uint32_t seed) {
    RandomSource random(seed);
    for (int i = 0; i < count; ++i) {
        const int x = random.below(canvas.width);
        const int y = int(horizon * random.uniform() * random.uniform());
        const int brightness = 8 + random.below(8);
        canvas.put(x, y, colours::greys.entry(brightness - 1));
        if (brightness == 15 && random.below(3) == 0) {
            // A few bright stars twinkle with a small cross.
            for (int d : {-1, 1}) {
                canvas.put(x + d, y, colours::greys.entry(9));
                canvas.put(x, y + d, colours::greys.entry(9));
            }
        }
    }
}

void paint_moon(Canvas& canvas, int cx, int cy, int radius) {
    // A faint halo first, then the disc lit from the upper left.
    fill_ellipse(canvas, cx, cy, radius * 1.35, radius * 1.35, [&](int x, int y) {
        const double d = std::hypot(x - cx, y - cy) / (radius * 1.35);
        const std::uint8_t under = canvas.at(x, y);
        return (x + y) % 2 == 0 && d > 0.75 ? under : colours::sky.dithered(0.9 - 0.4 * d, x, y);
    });
    fill_ellipse(canvas, cx, cy, radius, radius, [&](int x, int y) {
        const double lx = (x - cx) / double(radius), ly = (y - cy) / double(radius);
        double light = 0.95 - 0.35 * std::hypot(lx + 0.35, ly + 0.35);
        const double seas[3][3] = {{-0.3, -0.2, 0.25}, {0.25, 0.1, 0.2}, {-0.05, 0.4, 0.18}};
        for (const auto& s : seas) {
            if (std::hypot(lx - s[0], ly - s[1]) < s[2]) {
                light -= 0.18;
            }
        }
        return colours::cream.dithered(light, x, y);
    });
}

void paint_hills(Canvas& canvas, int crest, int swing, double phase, Ramp ramp, double light) {
    for (int x = 0; x < canvas.width; ++x) {
        const double u = double(x) / canvas.width;
        const double ridge = crest + swing * (0.6 * std::sin(2 * pi * (1.3 * u + phase)) +
                                              0.4 * std::sin(2 * pi * (3.1 * u + 2 * phase)));
        for (int y = std::max(0, int(ridge)); y < canvas.height; ++y) {
            const double depth = (y - ridge) / 60.0;
            canvas.put(x, y, ramp.dithered(light - 0.5 * std::min(depth, 1.0) * light, x, y));
        }
    }
}

void paint_quill(Canvas& canvas, Point nib, Point tip, double vane_width) {
    const double dx = tip.x - nib.x, dy = tip.y - nib.y;
    const double length = std::hypot(dx, dy);
    const double ux = dx / length, uy = dy / length; // along the shaft
    const double nx = -uy, ny = ux;                  // across it
    // The shaft bends gently; the vanes start a fifth of the way up.
    const auto bend = [&](double t) { return 0.08 * length * std::sin(pi * t); };
    const auto width = [&](double t) {
        return t < 0.2
                   ? 0.0
                   : vane_width * std::pow(std::sin(pi * (t - 0.2) / 0.8), 0.6) * (1.1 - 0.4 * t);
    };
    std::vector<Point> outline;
    constexpr int steps = 64;
    for (int i = 0; i <= steps; ++i) {
        const double t = double(i) / steps;
        const double off = bend(t) + width(t);
        outline.push_back({nib.x + dx * t + nx * off, nib.y + dy * t + ny * off});
    }
    for (int i = steps; i >= 0; --i) {
        const double t = double(i) / steps;
        const double off = bend(t) - width(t) * 0.75;
        outline.push_back({nib.x + dx * t + nx * off, nib.y + dy * t + ny * off});
    }
    fill_polygon(canvas, outline, [&](int x, int y) {
        const double rx = x + 0.5 - nib.x, ry = y + 0.5 - nib.y;
        const double t = (rx * ux + ry * uy) / length;
        const double across = rx * nx + ry * ny - bend(t);
        // Barbs slant back from the shaft; every few a darker groove.
        const double barb = t * 70.0 + std::fabs(across) * 0.09;
        const bool groove = barb - std::floor(barb) < 0.18;
        const double side_light = across > 0 ? 0.85 : 0.55;
        return colours::cream.dithered(side_light - (groove ? 0.3 : 0.0), x, y);
    });
    // The shaft, from the nib to the tip, over the vanes.
    for (int i = 0; i <= int(length); ++i) {
        const double t = i / length;
        const double px = nib.x + dx * t + nx * bend(t), py = nib.y + dy * t + ny * bend(t);
        const std::uint8_t tone =
            t < 0.06 ? colours::outline : colours::greys.entry(t < 0.2 ? 11 : 9);
        canvas.put(int(px), int(py), tone);
        canvas.put(int(px + nx), int(py + ny),
                   t < 0.06 ? colours::outline : colours::greys.entry(13));
        canvas.put(int(px - nx), int(py - ny), colours::greys.entry(6));
    }
}

void paint_tile_heap(Canvas& canvas, int left, int bottom, int columns, int max_height,
                     std::uint32_t seed, const Ramp* shade_all) {
    RandomSource random(seed);
    // Colour of each cell, row 0 at the bottom, 0 empty.
    std::vector<int> cells(std::size_t(columns * max_height));
    const auto colour_at = [&](int c, int r) {
        return c < 0 || c >= columns || r < 0 || r >= max_height
                   ? 0
                   : cells[std::size_t(c * max_height + r)];
    };
    // Pieces of four cells dropped from above, each coming to rest on what
    // lies beneath, as in a game in progress.
    static constexpr int pieces[][4][2] = {
        {{0, 0}, {1, 0}, {2, 0}, {3, 0}}, {{0, 0}, {0, 1}, {0, 2}, {0, 3}},
        {{0, 0}, {1, 0}, {0, 1}, {1, 1}}, {{0, 0}, {1, 0}, {2, 0}, {1, 1}},
        {{0, 0}, {1, 0}, {2, 0}, {2, 1}}, {{0, 0}, {1, 0}, {2, 0}, {0, 1}},
        {{0, 0}, {1, 0}, {1, 1}, {2, 1}}, {{1, 0}, {2, 0}, {0, 1}, {1, 1}},
        {{0, 0}, {1, 0}, {0, 1}, {0, 2}}, {{0, 0}, {1, 0}, {1, 1}, {1, 2}},
    };
    std::vector<int> heights(std::size_t(columns), 0);
    for (int drop = 0; drop < columns * max_height; ++drop) {
        const auto& piece = pieces[random.below(int(std::size(pieces)))];
        const int colour = 1 + random.below(colours::tile_colour_count);
        const int column = random.below(columns);
        int rest = 0;
        bool fits = true;
        for (const auto& cell : piece) {
            const int c = column + cell[0];
            fits = fits && c < columns;
            rest = c < columns ? std::max(rest, heights[std::size_t(c)] - cell[1]) : rest;
        }
        for (const auto& cell : piece) {
            fits = fits && rest + cell[1] < max_height;
        }
        if (!fits) {
            continue;
        }
        for (const auto& cell : piece) {
            const int c = column + cell[0], r = rest + cell[1];
            cells[std::size_t(c * max_height + r)] = colour;
            heights[std::size_t(c)] = std::max(heights[std::size_t(c)], r + 1);
        }
    }
    for (int c = 0; c < columns; ++c) {
        for (int r = 0; r < max_height; ++r) {
            const int colour = colour_at(c, r);
            if (colour == 0) {
                continue;
            }
            const int mask = (colour_at(c, r + 1) != colour ? side::top : 0) |
                             (colour_at(c + 1, r) != colour ? side::right : 0) |
                             (colour_at(c, r - 1) != colour ? side::bottom : 0) |
                             (colour_at(c - 1, r) != colour ? side::left : 0);
            const int x = left + c * tile_size, y = bottom - (r + 1) * tile_size;
            const Shader behind = [&](int px, int py) { return canvas.sample(x + px, y + py); };
            draw_block(canvas, x, y, tile_size, shade_all ? *shade_all : colours::tile(colour),
                       mask, behind);
        }
    }
}
