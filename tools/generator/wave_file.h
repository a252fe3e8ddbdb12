#pragma once

#include <cstdint>
#include <vector>

// Sound is made as floating-point samples between -1 and 1 and stored as a
// RIFF WAVE file of 16-bit mono PCM.
constexpr int sample_rate = 22050;
using Samples = std::vector<double>;

// Scales the sound so that its loudest sample reaches `peak` (below 1, so
// nothing clips).
void normalise(Samples& sound, double peak);
std::vector<std::uint8_t> encode_wave(const Samples& sound);
