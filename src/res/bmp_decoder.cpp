#include <algorithm>
#include <array>

#include "res/byte_order.h"
#include "res/file_bytes.h"
#include "res/picture_decoders.h"
#include "res/pixel_conversion.h"

namespace {

constexpr std::size_t bmp_headers_size = 14 + 1064;
constexpr std::size_t bmp_colour_table = 54;

struct BmpHeader {
    std::uint32_t data_offset;
    std::int32_t width;
    std::int32_t height;
    std::uint16_t bit_count;
};

BmpHeader read_header(std::span<const std::uint8_t> file) {
    // Header bytes the file does not hold read as 0.
    std::array<std::uint8_t, bmp_headers_size> h{};
    const auto stored = bytes_at(file, 0, h.size());
    std::copy(stored.begin(), stored.end(), h.begin());
    return {read_u32le(&h[10]), read_i32le(&h[18]), read_i32le(&h[22]), read_u16le(&h[28])};
}

void read_colour_table(std::span<const std::uint8_t> file, Palette& palette) {
    for (std::size_t i = 0; i < 256; ++i) {
        const auto bgr = bytes_at(file, bmp_colour_table + 4 * i, 3);
        if (bgr.size() < 3)
            return;
        palette[3 * i] = static_cast<std::uint8_t>(bgr[2] >> 2);
        palette[3 * i + 1] = static_cast<std::uint8_t>(bgr[1] >> 2);
        palette[3 * i + 2] = static_cast<std::uint8_t>(bgr[0] >> 2);
    }
}

// Which stored pixels become which display pixels; null when the pair is not decoded.
using PixelDecoder = void (*)(const std::uint8_t* in, std::uint8_t* out, const Palette& palette,
                              const DisplayFormat& format);

void from_index(const std::uint8_t* in, std::uint8_t* out, const Palette& palette,
                const DisplayFormat& format) {
    store_index_pixel(out, *in, palette, format);
}

void from_rgb555(const std::uint8_t* in, std::uint8_t* out, const Palette&,
                 const DisplayFormat& format) {
    const unsigned word = read_u16le(in);
    store_rgb_pixel(out, (word >> 10 & 31) * 8, (word >> 5 & 31) * 8, (word & 31) * 8, format);
}

void from_bgr(const std::uint8_t* in, std::uint8_t* out, const Palette&,
              const DisplayFormat& format) {
    store_rgb_pixel(out, in[2], in[1], in[0], format);
}

PixelDecoder decoder_for(std::uint16_t bit_count, std::int32_t depth) {
    if (bit_count == 8)
        return from_index;
    if (bit_count == 16 && depth == 16)
        return from_rgb555;
    if (bit_count == 24 && depth != 8)
        return from_bgr;
    return nullptr;
}

// Rows come bottom-up; a file that ends early leaves the rest of the picture as it was.
void decode_rows(std::span<const std::uint8_t> file, std::size_t cursor, std::size_t in_bytes,
                 std::size_t pixels_per_row, PixelDecoder decode, const DisplayFormat& format,
                 Image& image) {
    const std::size_t out_bytes = format.bytes_per_pixel();
    const std::size_t row_length = static_cast<std::size_t>(image.width) * out_bytes;
    for (std::int32_t row = image.height - 1; row >= 0; --row) {
        std::uint8_t* out = &image.pixels[static_cast<std::size_t>(row) * row_length];
        for (std::size_t x = 0; x < pixels_per_row; ++x, cursor += in_bytes, out += out_bytes) {
            if (cursor > file.size() || file.size() - cursor < in_bytes)
                return;
            decode(&file[cursor], out, image.palette, format);
        }
    }
}

} // namespace

void load_bmp(std::span<const std::uint8_t> file, const DisplayFormat& format, Image& image) {
    const BmpHeader header = read_header(file);
    image.width = 0;
    image.height = 0;
    image.pixels.clear();
    // A negative height marks rows stored top-down, which this decoder does not read.
    if (!is_picture_size(header.width, header.height))
        return;
    image.width = header.width;
    image.height = header.height;
    image.pixels.assign(
        static_cast<std::size_t>(header.width) * header.height * format.bytes_per_pixel(), 0);
    if (header.bit_count == 8)
        read_colour_table(file, image.palette);
    const PixelDecoder decode = decoder_for(header.bit_count, format.depth);
    if (decode == nullptr)
        return;
    // On an 8-bit display each row takes at most a display row's worth of indices.
    std::size_t per_row = static_cast<std::size_t>(header.width);
    if (header.bit_count == 8 && format.depth == 8)
        per_row = std::min(per_row, static_cast<std::size_t>(format.width));
    decode_rows(file, header.data_offset, header.bit_count / 8, per_row, decode, format, image);
}
