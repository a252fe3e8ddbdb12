#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "gfx/picture_palette.h"

// What the pictures are decoded for: the display's logical size, its depth in bits per pixel
// (8, 16, 24 or 32) and, at 16 bits, its number of green bits (5 for 5-5-5, 6 for 5-6-5).
struct DisplayFormat {
    std::int32_t width = 640;
    std::int32_t height = 480;
    std::int32_t depth = 8;
    std::int32_t green_bits = 6;

    std::size_t bytes_per_pixel() const { return static_cast<std::size_t>(depth) / 8; }
};

// A decoded picture before it goes to a surface: `height` rows of `width` pixels, top to
// bottom, in the display's pixel format (the TGA, PI1 and PCX decoders leave one-byte palette
// indices instead), each row directly after the previous one.
struct Image {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint8_t> pixels;
    Palette palette{};
};

// Pictures with more pixels than this are not decoded: no file of the game comes near it, and
// a hostile header must not make the game allocate gigabytes.
inline constexpr std::int64_t max_picture_pixels = std::int64_t{4096} * 4096;

// Whether width x height is a picture size the decoders accept.
inline bool is_picture_size(std::int64_t width, std::int64_t height) {
    return width > 0 && height > 0 && width * height <= max_picture_pixels;
}
