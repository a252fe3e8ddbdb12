#pragma once

#include <cstddef>
#include <cstdint>

// The resource archives ("ONLY.ONE", "DATA.ONE", ...): a 6-byte header (magic "OO" or "oo",
// signed 32-bit entry count), then the directory of fixed-size entries, then the member data.
// All numbers are little-endian.
inline constexpr std::size_t archive_header_size = 6;
inline constexpr std::size_t archive_name_size = 1024;
inline constexpr std::size_t archive_entry_size = 1032;
inline constexpr std::size_t archive_offset_field = 1024;
inline constexpr std::size_t archive_size_field = 1028;

// Names are stored with every character complemented; a stored 0x00 ends the name.
inline std::uint8_t complement_name_byte(std::uint8_t c) {
    return static_cast<std::uint8_t>(0xFF - c);
}

inline bool is_archive_magic(std::uint8_t first, std::uint8_t second) {
    return (first == 'O' || first == 'o') && second == first;
}
