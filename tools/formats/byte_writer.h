#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

// Appends little-endian fields to a growing file image.
void put_u8(std::vector<std::uint8_t>& out, unsigned value);
void put_u16le(std::vector<std::uint8_t>& out, unsigned value);
void put_u32le(std::vector<std::uint8_t>& out, std::uint32_t value);
void put_text(std::vector<std::uint8_t>& out, std::string_view text);
