#pragma once

#include <array>
#include <cstdint>

#include "res/image.h"

// A palette index as a 16-bit display pixel: 5-6-5 or 5-5-5 from the 6-bit palette
// components. On an 8-bit display the index itself.
std::uint16_t index_to_pixel16(std::uint8_t index, const Palette& palette,
                               const DisplayFormat& format);

// A palette index as the bytes blue, green, red (components times 4, kept to 8 bits).
std::array<std::uint8_t, 3> index_to_rgb24(std::uint8_t index, const Palette& palette);

// 8-bit red, green, blue as a 16-bit display pixel (5-6-5 with 6 green bits, else 5-5-5).
std::uint16_t rgb_to_pixel16(unsigned red, unsigned green, unsigned blue,
                             const DisplayFormat& format);

// Writes the display pixel of a palette index at `out` (depth / 8 bytes).
void store_index_pixel(std::uint8_t* out, std::uint8_t index, const Palette& palette,
                       const DisplayFormat& format);

// Writes the display pixel of an 8-bit red, green, blue colour at `out` on a 16, 24 or
// 32-bit display: rgb_to_pixel16, or blue, green, red (and 0 at 32 bits).
void store_rgb_pixel(std::uint8_t* out, unsigned red, unsigned green, unsigned blue,
                     const DisplayFormat& format);

// Turns the first width x height bytes of image.pixels (palette indices) into pixels of the
// display's depth, in place; the buffer must hold width x height x depth / 8 bytes.
void expand_indices(Image& image, const DisplayFormat& format);
