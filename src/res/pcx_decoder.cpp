#include <algorithm>

#include "res/byte_order.h"
#include "res/picture_decoders.h"

namespace {

constexpr std::size_t pcx_header_size = 128;
constexpr std::size_t pcx_palette_tail = 769;
constexpr std::uint8_t pcx_palette_marker = 12;

// Unpacks until `wanted` bytes are written, the data ends or the buffer is full; a run that
// reaches past the end is cut there.
void unpack_pcx_runs(std::span<const std::uint8_t> packed, std::size_t wanted,
                     std::span<std::uint8_t> out) {
    const std::size_t limit = std::min(wanted, out.size());
    std::size_t in = 0;
    std::size_t written = 0;
    while (written < limit && in < packed.size()) {
        std::uint8_t value = packed[in++];
        std::size_t count = 1;
        if ((value & 0xC0) == 0xC0) {
            if (in == packed.size())
                break;
            count = value & 0x3F;
            value = packed[in++];
        }
        const std::size_t kept = std::min(count, limit - written);
        std::fill_n(out.begin() + written, kept, value);
        written += kept;
    }
}

void read_pcx_palette(std::span<const std::uint8_t> file, Palette& palette) {
    if (file.size() < pcx_palette_tail)
        return;
    const std::uint8_t* tail = &file[file.size() - pcx_palette_tail];
    if (tail[0] != pcx_palette_marker)
        return;
    for (std::size_t i = 0; i < palette.size(); ++i)
        palette[i] = static_cast<std::uint8_t>(tail[1 + i] >> 2);
}

} // namespace

void load_pcx(std::span<const std::uint8_t> file, Image& image) {
    image.width = 0;
    image.height = 0;
    if (file.size() < pcx_header_size)
        return;
    image.width = read_i16le(&file[8]) - read_i16le(&file[4]) + 1;
    image.height = read_i16le(&file[10]) - read_i16le(&file[6]) + 1;
    const std::int32_t bytes_per_line = read_i16le(&file[66]);
    if (image.height > 0 && bytes_per_line > 0)
        unpack_pcx_runs(file.subspan(pcx_header_size),
                        static_cast<std::size_t>(image.height) * bytes_per_line, image.pixels);
    read_pcx_palette(file, image.palette);
}
