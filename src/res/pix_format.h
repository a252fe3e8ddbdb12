#pragma once

#include <cstddef>
#include <cstdint>

// The game's own picture format. Header (little-endian): "PIX", one byte not interpreted,
// the data offset D, width and height (signed 16-bit), the format byte (0 = indexed pixels),
// one byte not interpreted. At D the packed length L, then L bytes of pixel data (raw when L
// equals width x height, run-length packed otherwise), then the 768-byte palette.
inline constexpr std::size_t pix_header_size = 11;
inline constexpr std::size_t pix_offset_field = 4;
inline constexpr std::size_t pix_width_field = 5;
inline constexpr std::size_t pix_height_field = 7;
inline constexpr std::size_t pix_format_field = 9;
inline constexpr std::uint8_t pix_indexed_format = 0;

// A 320 x 200 picture stores a 16-bit packed length; every other size a 32-bit one.
inline std::size_t pix_length_size(int width, int height) {
    return width == 320 && height == 200 ? 2 : 4;
}

// Run-length packets: a control byte with bit 7 set repeats the next byte (control & 0x7F)
// times; a control byte with bit 7 clear is followed by that many literal bytes.
inline constexpr std::uint8_t pix_run_flag = 0x80;
inline constexpr std::size_t pix_max_packet = 127;
