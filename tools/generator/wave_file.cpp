#include "wave_file.h"

#include <algorithm>
#include <cmath>
#include <string_view>

namespace {

void put_text(std::vector<std::uint8_t>& out, std::string_view text) {
    out.insert(out.end(), text.begin(), text.end());
}

void put_u32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(std::uint8_t(value >> (8 * i)));
    }
}

void put_u16(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(std::uint8_t(value));
    out.push_back(std::uint8_t(value >> 8));
}

} // namespace

void normalise(Samples& sound, double peak) {
    double loudest = 0.0;
    for (double s : sound) {
        loudest = std::max(loudest, std::fabs(s));
    }
    if (loudest > 0.0) {
        for (double& s : sound) {
            s *= peak / loudest;
        }
    }
}

std::vector<std::uint8_t> encode_wave(const Samples& sound) {
    constexpr std::uint32_t channels = 1, bytes_per_sample = 2;
    const auto data_size = std::uint32_t(sound.size() * bytes_per_sample);
    std::vector<std::uint8_t> out;
    put_text(out, "RIFF");
    put_u32(out, 4 + (8 + 16) + (8 + data_size));
    put_text(out, "WAVE");
    put_text(out, "fmt ");
    put_u32(out, 16);
    put_u16(out, 1); // PCM
    put_u16(out, channels);
    put_u32(out, sample_rate);
    put_u32(out, sample_rate * channels * bytes_per_sample);
    put_u16(out, channels * bytes_per_sample);
    put_u16(out, 8 * bytes_per_sample);
    put_text(out, "data");
    put_u32(out, data_size);
    for (double s : sound) {
        const long value = std::lround(std::clamp(s, -1.0, 1.0) * 32767.0);
        put_u16(out, std::uint32_t(value) & 0xFFFF);
    }
    return out;
}
