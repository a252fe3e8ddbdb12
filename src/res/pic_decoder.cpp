#include "res/file_bytes.h"
#include "res/picture_decoders.h"

void decode_pic(std::span<const std::uint8_t> file, const DisplayFormat& format, Image& image) {
    image.width = format.width;
    image.height = format.height;
    image.pixels.assign(
        static_cast<std::size_t>(format.width) * format.height * format.bytes_per_pixel(), 0);
    const auto stored = bytes_at(file, 0, image.pixels.size());
    std::copy(stored.begin(), stored.end(), image.pixels.begin());
    read_palette(file, image.pixels.size(), image.palette);
}
