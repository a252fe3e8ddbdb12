#include "formats/byte_writer.h"

void put_u8(std::vector<std::uint8_t>& out, unsigned value) {
    out.push_back(static_cast<std::uint8_t>(value));
}

void put_u16le(std::vector<std::uint8_t>& out, unsigned value) {
    put_u8(out, value & 0xFF);
    put_u8(out, value >> 8 & 0xFF);
}

void put_u32le(std::vector<std::uint8_t>& out, std::uint32_t value) {
    put_u16le(out, value & 0xFFFF);
    put_u16le(out, value >> 16);
}

void put_text(std::vector<std::uint8_t>& out, std::string_view text) {
    out.insert(out.end(), text.begin(), text.end());
}
