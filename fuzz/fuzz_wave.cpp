// WAV parsing against arbitrary bytes: every combination of requested
// outputs, and the format decoding that follows in the sound backends.

#include "audio/wave.h"
#include "platform/wave_format.h"

#include <cstddef>
#include <cstdint>
#include <numeric>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> image(data, size);
    for (int wanted = 0; wanted < 8; ++wanted) {
        std::span<const std::uint8_t> format;
        const std::uint8_t* samples = nullptr;
        std::uint32_t sample_size = 0;
        const bool found =
            parse_wave(image, (wanted & 1) ? &format : nullptr, (wanted & 2) ? &samples : nullptr,
                       (wanted & 4) ? &sample_size : nullptr);
        if (!found || wanted != 7)
            continue;
        // Touch every byte the outputs claim, so a pointer past the image shows.
        volatile unsigned sum = std::accumulate(samples, samples + sample_size, 0u);
        sum = sum + std::accumulate(format.begin(), format.end(), 0u);
        platform::WaveFormat decoded;
        platform::read_wave_format(format, decoded);
    }
    return 0;
}
