#include "formats/pix_writer.h"

#include <algorithm>
#include <cstddef>
#include <stdexcept>

#include "formats/byte_writer.h"
#include "res/pix_format.h"

namespace {

// Shorter runs cost as much as literals and would break literal packets apart.
constexpr std::size_t shortest_run = 3;

std::size_t run_length_at(std::span<const std::uint8_t> in, std::size_t at) {
    std::size_t n = 1;
    while (at + n < in.size() && n < pix_max_packet && in[at + n] == in[at])
        ++n;
    return n;
}

void put_literals(std::vector<std::uint8_t>& out, std::span<const std::uint8_t> literals) {
    while (!literals.empty()) {
        const std::size_t n = std::min(literals.size(), pix_max_packet);
        put_u8(out, static_cast<unsigned>(n));
        out.insert(out.end(), literals.begin(), literals.begin() + n);
        literals = literals.subspan(n);
    }
}

} // namespace

std::vector<std::uint8_t> pack_pix_runs(std::span<const std::uint8_t> indices) {
    std::vector<std::uint8_t> out;
    std::size_t literal_start = 0;
    std::size_t at = 0;
    while (at < indices.size()) {
        const std::size_t run = run_length_at(indices, at);
        if (run < shortest_run) {
            at += run;
            continue;
        }
        put_literals(out, indices.subspan(literal_start, at - literal_start));
        put_u8(out, pix_run_flag | static_cast<unsigned>(run));
        put_u8(out, indices[at]);
        at += run;
        literal_start = at;
    }
    put_literals(out, indices.subspan(literal_start));
    return out;
}

std::vector<std::uint8_t> encode_pix(int width, int height, std::span<const std::uint8_t> indices,
                                     const Palette& palette) {
    if (width < 1 || width > 32767 || height < 1 || height > 32767)
        throw std::invalid_argument("PIX pictures are 1 to 32767 pixels wide and high");
    const std::size_t pixel_count = static_cast<std::size_t>(width) * height;
    if (indices.size() != pixel_count)
        throw std::invalid_argument("PIX picture needs width x height indices");

    // The reader takes a length equal to the pixel count as raw data, so packing must be shorter.
    std::vector<std::uint8_t> data = pack_pix_runs(indices);
    if (data.size() >= pixel_count)
        data.assign(indices.begin(), indices.end());

    std::vector<std::uint8_t> out;
    put_text(out, "PIX");
    put_u8(out, 0);
    put_u8(out, pix_header_size);
    put_u16le(out, static_cast<unsigned>(width));
    put_u16le(out, static_cast<unsigned>(height));
    put_u8(out, pix_indexed_format);
    put_u8(out, 0);
    if (pix_length_size(width, height) == 2)
        put_u16le(out, static_cast<unsigned>(data.size()));
    else
        put_u32le(out, static_cast<std::uint32_t>(data.size()));
    out.insert(out.end(), data.begin(), data.end());
    out.insert(out.end(), palette.begin(), palette.end());
    return out;
}
