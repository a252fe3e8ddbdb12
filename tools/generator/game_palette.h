#pragma once

#include "canvas.h"

#include <array>

#include "gfx/picture_palette.h"

// One palette serves every picture of the game, so the tiles, the font, the
// title and the game background look right under whichever of their palettes
// the display holds. Its entries are grouped in ramps from dark to light.
namespace colours {

constexpr std::uint8_t transparent = 0; // black; left out by keyed copies
constexpr std::uint8_t outline = 1;     // the dark rim of letters and tiles
constexpr std::uint8_t white = 15;
constexpr Ramp greys{1, 15};         // cool greys, 15 is white
constexpr int tile_colour_count = 7; // red, orange, yellow, green, cyan, blue, violet
constexpr int tile_shades = 8;
constexpr int first_tile_entry = 16;
constexpr Ramp board{72, 8};   // the empty board well
constexpr int band_first = 80; // the shaded band, outside (80) to inside (93)
constexpr int band_length = 14;
constexpr Ramp backdrop{96, 32}; // the game background, navy to plum
constexpr Ramp sky{128, 32};     // night sky, deep blue to dusk rose
constexpr Ramp gold{160, 16};    // lettering
constexpr Ramp moor{176, 16};    // hills and heather
constexpr Ramp cream{192, 16};   // the moon and the quill
constexpr Ramp ember{208, 16};   // warm reds for the game-over panel

// Ramp of tile colour c (1 to 7), shade 0 the outline, 7 the highlight.
constexpr Ramp tile(int colour) {
    return Ramp{first_tile_entry + tile_shades * (colour - 1), tile_shades};
}

} // namespace colours

Palette make_game_palette();

// The game palette with its 6-bit components spread over 8 bits.
std::array<std::uint8_t, 768> game_palette_rgb();
