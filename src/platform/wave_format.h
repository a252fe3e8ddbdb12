#pragma once

#include <cstdint>
#include <span>

namespace platform {

// The playable part of a WAV "fmt " chunk.
struct WaveFormat {
    std::uint16_t channels = 0;
    std::uint32_t frames_per_second = 0;
    std::uint16_t bits_per_sample = 0;
    std::uint16_t block_align = 0; // bytes of one frame
};

// Decodes the data of a "fmt " chunk. False for anything the sound backends
// cannot play: a chunk too short to hold the sample size (16 bytes), a format
// other than PCM, sizes other than 8 or 16 bits, more than two channels, a rate
// of 0, or a frame size that does not match the channels and bits.
bool read_wave_format(std::span<const std::uint8_t> chunk, WaveFormat& format);

} // namespace platform
