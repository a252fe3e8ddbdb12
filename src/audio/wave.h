#pragma once

#include <cstdint>
#include <span>
#include <vector>

// What a sound buffer needs of a WAV file: the sample bytes and the "fmt "
// chunk that describes them. The pointers point into the file image.
struct WaveData {
    std::uint32_t data_size = 0;
    std::span<const std::uint8_t> format; // the "fmt " chunk's data
    const std::uint8_t* samples = nullptr;
};

// Reads a WAV file found through the resource lookup and parses it. Returns
// the whole file image, which `wave` points into, or an empty image when the
// file is missing (after the "Error reading file" box) or not a usable WAV.
std::vector<std::uint8_t> load_wave_file(const char* name, WaveData& wave);

// Finds the requested parts of a RIFF WAVE image; every output may be null
// when not wanted. True when everything requested was found. Chunks other
// than the first "fmt " and "data" are skipped, in any order; the walk ends
// at the form's end or at the image's real end, whichever comes first, and a
// chunk whose size reaches past the image makes the file unusable.
bool parse_wave(std::span<const std::uint8_t> image, std::span<const std::uint8_t>* format,
                const std::uint8_t** samples, std::uint32_t* sample_size);
