#pragma once

#include <cstdint>

// Little-endian fields of the file formats the game reads. The caller makes sure the bytes exist.
inline std::uint16_t read_u16le(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

inline std::uint32_t read_u32le(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

inline std::int16_t read_i16le(const std::uint8_t* p) {
    return static_cast<std::int16_t>(read_u16le(p));
}

inline std::int32_t read_i32le(const std::uint8_t* p) {
    return static_cast<std::int32_t>(read_u32le(p));
}
