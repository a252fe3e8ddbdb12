#include <algorithm>

#include "res/byte_order.h"
#include "res/picture_decoders.h"

namespace {

constexpr std::size_t tga_header_size = 18;

// The index of a 6-bit colour: the first equal entry, else the first all-black entry from 1
// up takes the colour; when none is left the colour becomes index 0.
std::uint8_t palette_index_of(Palette& palette, std::uint8_t red, std::uint8_t green,
                              std::uint8_t blue) {
    for (int i = 0; i < 256; ++i)
        if (palette[3 * i] == red && palette[3 * i + 1] == green && palette[3 * i + 2] == blue)
            return static_cast<std::uint8_t>(i);
    for (int i = 1; i < 256; ++i) {
        if (palette[3 * i] == 0 && palette[3 * i + 1] == 0 && palette[3 * i + 2] == 0) {
            palette[3 * i] = red;
            palette[3 * i + 1] = green;
            palette[3 * i + 2] = blue;
            return static_cast<std::uint8_t>(i);
        }
    }
    return 0;
}

} // namespace

void load_tga(std::span<const std::uint8_t> file, Image& image) {
    image.palette.fill(0);
    image.width = 0;
    image.height = 0;
    if (file.size() < tga_header_size)
        return;
    image.width = read_u16le(&file[12]);
    image.height = read_u16le(&file[14]);
    const std::size_t pixel_count = static_cast<std::size_t>(image.width) * image.height;
    const std::size_t stored = (file.size() - tga_header_size) / 3;
    const std::size_t count = std::min({pixel_count, stored, image.pixels.size()});
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* bgr = &file[tga_header_size + 3 * i];
        image.pixels[i] = palette_index_of(image.palette, static_cast<std::uint8_t>(bgr[2] >> 2),
                                           static_cast<std::uint8_t>(bgr[1] >> 2),
                                           static_cast<std::uint8_t>(bgr[0] >> 2));
    }
}
