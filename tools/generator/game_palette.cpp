#include "game_palette.h"

#include <algorithm>
#include <cmath>

namespace {

struct Rgb {
    double r, g, b;
};

// Writes a ramp through the given colours (components 0 to 63), spread
// evenly over its entries.
void put_ramp(Palette& palette, Ramp ramp, std::initializer_list<Rgb> stops) {
    const std::vector<Rgb> points(stops);
    for (int i = 0; i < ramp.length; ++i) {
        const double t = ramp.length == 1 ? 0.0 : double(i) / (ramp.length - 1);
        const double position = t * double(points.size() - 1);
        const std::size_t k = std::min(points.size() - 2, std::size_t(position));
        const double f = position - double(k);
        const Rgb& a = points[k];
        const Rgb& b = points[k + 1];
        const std::size_t at = std::size_t(3 * (ramp.first + i));
        palette[at] = std::uint8_t(std::lround(a.r + (b.r - a.r) * f));
        palette[at + 1] = std::uint8_t(std::lround(a.g + (b.g - a.g) * f));
        palette[at + 2] = std::uint8_t(std::lround(a.b + (b.b - a.b) * f));
    }
}

// The seven tile colours as dark, middle and light stops.
constexpr Rgb tile_stops[colours::tile_colour_count][3] = {
    {{14, 2, 4}, {52, 10, 12}, {63, 44, 40}},  // red
    {{16, 6, 0}, {60, 30, 4}, {63, 52, 32}},   // orange
    {{16, 12, 0}, {60, 52, 6}, {63, 63, 42}},  // yellow
    {{2, 12, 4}, {12, 46, 14}, {42, 63, 38}},  // green
    {{0, 12, 16}, {6, 46, 56}, {40, 63, 63}},  // cyan
    {{2, 4, 20}, {12, 22, 60}, {40, 50, 63}},  // blue
    {{10, 2, 18}, {40, 14, 54}, {58, 44, 63}}, // violet
};

} // namespace

Palette make_game_palette() {
    Palette palette{};
    put_ramp(palette, colours::greys, {{3, 3, 6}, {24, 26, 32}, {63, 63, 63}});
    for (int c = 1; c <= colours::tile_colour_count; ++c) {
        const Rgb* stops = tile_stops[c - 1];
        put_ramp(palette, colours::tile(c), {stops[0], stops[1], stops[2]});
    }
    put_ramp(palette, colours::board, {{2, 2, 6}, {8, 9, 18}});
    // The band: a bright rim that sinks quickly into a deep blue on which
    // white letters stand out.
    put_ramp(palette, Ramp{colours::band_first, colours::band_length},
             {{60, 52, 20}, {40, 22, 30}, {14, 8, 30}, {8, 6, 24}, {6, 5, 22}});
    put_ramp(palette, colours::backdrop, {{2, 3, 10}, {8, 8, 24}, {18, 10, 28}, {26, 14, 30}});
    put_ramp(palette, colours::sky, {{1, 1, 8}, {6, 6, 24}, {22, 12, 34}, {50, 26, 36}});
    put_ramp(palette, colours::gold, {{18, 8, 0}, {50, 32, 4}, {63, 54, 20}, {63, 63, 50}});
    put_ramp(palette, colours::moor, {{2, 4, 4}, {8, 14, 10}, {22, 18, 26}, {36, 26, 40}});
    put_ramp(palette, colours::cream, {{20, 18, 16}, {48, 44, 36}, {63, 62, 54}});
    put_ramp(palette, colours::ember, {{8, 0, 4}, {28, 4, 10}, {56, 16, 12}, {63, 44, 20}});
    return palette;
}

std::array<std::uint8_t, 768> game_palette_rgb() {
    const Palette palette = make_game_palette();
    std::array<std::uint8_t, 768> rgb{};
    for (std::size_t i = 0; i < palette.size(); ++i)
        rgb[i] = std::uint8_t(palette[i] * 4 + palette[i] / 16);
    return rgb;
}
