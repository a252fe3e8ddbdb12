#include "res/pixel_conversion.h"

#include <cstring>

namespace {

void store_u16le(std::uint8_t* out, std::uint16_t value) {
    out[0] = static_cast<std::uint8_t>(value);
    out[1] = static_cast<std::uint8_t>(value >> 8);
}

void store_bgr(std::uint8_t* out, std::array<std::uint8_t, 3> bgr, const DisplayFormat& format) {
    std::memcpy(out, bgr.data(), bgr.size());
    if (format.depth == 32)
        out[3] = 0;
}

} // namespace

std::uint16_t index_to_pixel16(std::uint8_t index, const Palette& palette,
                               const DisplayFormat& format) {
    if (format.depth == 8)
        return index;
    const unsigned red = palette[3 * index];
    const unsigned green = palette[3 * index + 1];
    const unsigned blue = palette[3 * index + 2];
    if (format.green_bits == 6)
        return static_cast<std::uint16_t>((red >> 1) << 11 | green << 5 | blue >> 1);
    return static_cast<std::uint16_t>((red >> 1) << 10 | (green >> 1) << 5 | blue >> 1);
}

std::array<std::uint8_t, 3> index_to_rgb24(std::uint8_t index, const Palette& palette) {
    return {static_cast<std::uint8_t>(palette[3 * index + 2] * 4),
            static_cast<std::uint8_t>(palette[3 * index + 1] * 4),
            static_cast<std::uint8_t>(palette[3 * index] * 4)};
}

std::uint16_t rgb_to_pixel16(unsigned red, unsigned green, unsigned blue,
                             const DisplayFormat& format) {
    if (format.green_bits == 6)
        return static_cast<std::uint16_t>((red >> 3) << 11 | (green >> 2) << 5 | blue >> 3);
    return static_cast<std::uint16_t>((red >> 3) << 10 | (green >> 3) << 5 | blue >> 3);
}

void store_index_pixel(std::uint8_t* out, std::uint8_t index, const Palette& palette,
                       const DisplayFormat& format) {
    if (format.depth == 8)
        *out = index;
    else if (format.depth == 16)
        store_u16le(out, index_to_pixel16(index, palette, format));
    else
        store_bgr(out, index_to_rgb24(index, palette), format);
}

void store_rgb_pixel(std::uint8_t* out, unsigned red, unsigned green, unsigned blue,
                     const DisplayFormat& format) {
    if (format.depth == 16)
        store_u16le(out, rgb_to_pixel16(red, green, blue, format));
    else if (format.depth >= 24)
        store_bgr(out,
                  {static_cast<std::uint8_t>(blue), static_cast<std::uint8_t>(green),
                   static_cast<std::uint8_t>(red)},
                  format);
}

void expand_indices(Image& image, const DisplayFormat& format) {
    if (format.depth == 8)
        return;
    const std::size_t count = static_cast<std::size_t>(image.width) * image.height;
    const std::vector<std::uint8_t> indices(image.pixels.begin(), image.pixels.begin() + count);
    const std::size_t step = format.bytes_per_pixel();
    for (std::size_t i = 0; i < count; ++i)
        store_index_pixel(&image.pixels[i * step], indices[i], image.palette, format);
}
