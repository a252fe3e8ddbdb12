#include <algorithm>
#include <cstring>

#include "res/byte_order.h"
#include "res/file_bytes.h"
#include "res/picture_decoders.h"
#include "res/pix_format.h"
#include "res/pixel_conversion.h"

namespace {

bool has_pix_magic(std::span<const std::uint8_t> file) {
    return file.size() >= 3 && std::memcmp(file.data(), "PIX", 3) == 0;
}

void allocate(Image& image, std::int32_t width, std::int32_t height, const DisplayFormat& format) {
    image.width = width;
    image.height = height;
    image.pixels.assign(static_cast<std::size_t>(width) * height * format.bytes_per_pixel(), 0);
}

// Display-sized, always packed, never expanded: right only on an 8-bit display.
void decode_headerless(std::span<const std::uint8_t> file, const DisplayFormat& format,
                       Image& image) {
    allocate(image, format.width, format.height, format);
    if (file.size() < 2)
        return;
    const std::size_t length = read_u16le(file.data());
    unpack_pix_runs(bytes_at(file, 2, length), image.pixels);
    read_palette(file, 2 + length, image.palette);
}

void decode_indexed_pix(std::span<const std::uint8_t> file, const DisplayFormat& format,
                        Image& image) {
    const std::size_t offset = file[pix_offset_field];
    const std::size_t length_size = pix_length_size(image.width, image.height);
    if (offset + length_size > file.size())
        return;
    const std::size_t length =
        length_size == 2 ? read_u16le(&file[offset]) : read_u32le(&file[offset]);
    const std::size_t data_start = offset + length_size;
    const auto data = bytes_at(file, data_start, length);
    const std::size_t pixel_count = static_cast<std::size_t>(image.width) * image.height;
    if (length == pixel_count)
        std::copy(data.begin(), data.end(), image.pixels.begin());
    else
        unpack_pix_runs(data, std::span(image.pixels).first(pixel_count));
    read_palette(file, data_start + length, image.palette);
    expand_indices(image, format);
}

} // namespace

std::size_t unpack_pix_runs(std::span<const std::uint8_t> packed, std::span<std::uint8_t> out) {
    std::size_t in = 0;
    std::size_t written = 0;
    while (in < packed.size()) {
        const std::uint8_t control = packed[in++];
        const std::size_t count = control & pix_max_packet;
        if ((control & pix_run_flag) != 0) {
            if (in == packed.size())
                break;
            const std::uint8_t value = packed[in++];
            const std::size_t kept = std::min(count, out.size() - written);
            std::fill_n(out.begin() + written, kept, value);
            written += kept;
        } else {
            const std::size_t present = std::min(count, packed.size() - in);
            const std::size_t kept = std::min(present, out.size() - written);
            std::copy_n(packed.begin() + in, kept, out.begin() + written);
            written += kept;
            in += present;
        }
    }
    return written;
}

void decode_pix(std::span<const std::uint8_t> file, const DisplayFormat& format, Image& image) {
    if (!has_pix_magic(file)) {
        decode_headerless(file, format, image);
        return;
    }
    image.width = 0;
    image.height = 0;
    image.pixels.clear();
    if (file.size() < pix_header_size)
        return;
    const std::int32_t width = read_i16le(&file[pix_width_field]);
    const std::int32_t height = read_i16le(&file[pix_height_field]);
    if (!is_picture_size(width, height))
        return;
    allocate(image, width, height, format);
    if (file[pix_format_field] == pix_indexed_format)
        decode_indexed_pix(file, format, image);
}
