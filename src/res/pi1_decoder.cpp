#include <algorithm>
#include <array>

#include "res/file_bytes.h"
#include "res/picture_decoders.h"

namespace {

constexpr std::size_t pi1_palette_offset = 2;
constexpr std::size_t pi1_planes_offset = 34;
constexpr std::size_t pi1_planes_size = 32000;
constexpr int pi1_width = 320;
constexpr int pi1_height = 200;

std::uint8_t scale_component(unsigned three_bits) {
    return static_cast<std::uint8_t>((three_bits & 7) * 63 / 7);
}

void read_pi1_palette(const std::uint8_t* words, Palette& palette) {
    for (int i = 0; i < 16; ++i) {
        const std::uint8_t high = words[2 * i];
        const std::uint8_t low = words[2 * i + 1];
        palette[3 * i] = scale_component(high);
        palette[3 * i + 1] = scale_component(low >> 4);
        palette[3 * i + 2] = scale_component(low);
    }
}

// Four big-endian plane words hold 16 neighbouring pixels, leftmost in bit 15.
void decode_group(const std::uint8_t* group, std::uint8_t* out) {
    for (int bit = 15; bit >= 0; --bit) {
        int index = 0;
        for (int plane = 0; plane < 4; ++plane) {
            const unsigned word = group[2 * plane] << 8 | group[2 * plane + 1];
            index |= static_cast<int>((word >> bit) & 1) << plane;
        }
        *out++ = static_cast<std::uint8_t>(index);
    }
}

// The bytes of `file` from `offset` on that fill `out`; those a short file
// does not hold read as 0.
template <std::size_t size>
std::array<std::uint8_t, size> padded_bytes(std::span<const std::uint8_t> file,
                                            std::size_t offset) {
    std::array<std::uint8_t, size> out{};
    const auto stored = bytes_at(file, offset, size);
    std::copy(stored.begin(), stored.end(), out.begin());
    return out;
}

} // namespace

void load_pi1(std::span<const std::uint8_t> file, Image& image) {
    read_pi1_palette(padded_bytes<32>(file, pi1_palette_offset).data(), image.palette);
    image.width = pi1_width;
    image.height = pi1_height;
    const std::size_t groups = std::min(pi1_planes_size / 8, image.pixels.size() / 16);
    for (std::size_t g = 0; g < groups; ++g)
        decode_group(padded_bytes<8>(file, pi1_planes_offset + 8 * g).data(),
                     &image.pixels[16 * g]);
}
