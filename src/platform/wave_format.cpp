#include "platform/wave_format.h"

#include <cstring>

namespace platform {

namespace {

constexpr std::uint16_t wave_format_pcm = 1;

template <typename T> T field(std::span<const std::uint8_t> chunk, std::size_t offset) {
    T value;
    std::memcpy(&value, chunk.data() + offset, sizeof value);
    return value; // the game's platforms are little-endian, as the file is
}

} // namespace

bool read_wave_format(std::span<const std::uint8_t> chunk, WaveFormat& format) {
    if (chunk.size() < 16 || field<std::uint16_t>(chunk, 0) != wave_format_pcm)
        return false;
    format.channels = field<std::uint16_t>(chunk, 2);
    format.frames_per_second = field<std::uint32_t>(chunk, 4);
    format.block_align = field<std::uint16_t>(chunk, 12);
    format.bits_per_sample = field<std::uint16_t>(chunk, 14);
    const bool known_bits = format.bits_per_sample == 8 || format.bits_per_sample == 16;
    const bool known_channels = format.channels == 1 || format.channels == 2;
    return known_bits && known_channels && format.frames_per_second != 0 &&
           format.block_align == format.channels * format.bits_per_sample / 8;
}

} // namespace platform
