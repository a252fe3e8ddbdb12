#include "audio/wave.h"

#include "gfx/error_box.h"
#include "res/byte_order.h"
#include "res/resource.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::uint32_t smallest_format_chunk = 14;
// "RIFF", the form's size, then its type.
constexpr std::size_t riff_header_bytes = 12;
constexpr std::size_t riff_form_type_offset = 8;

bool tag_is(const std::uint8_t* bytes, const char (&tag)[5]) {
    return std::memcmp(bytes, tag, 4) == 0;
}

} // namespace

bool parse_wave(std::span<const std::uint8_t> image, std::span<const std::uint8_t>* format,
                const std::uint8_t** samples, std::uint32_t* sample_size) {
    if (format)
        *format = {};
    if (samples)
        *samples = nullptr;
    if (sample_size)
        *sample_size = 0;
    if (image.size() < riff_header_bytes || !tag_is(image.data(), "RIFF") ||
        !tag_is(image.data() + riff_form_type_offset, "WAVE"))
        return false;
    const bool samples_wanted = samples != nullptr || sample_size != nullptr;
    bool format_found = false;
    bool data_found = false;
    // The form's size is trusted only as far as the bytes are really there.
    const std::uint64_t form_end = 8 + std::uint64_t{read_u32le(image.data() + 4)};
    const std::size_t end =
        static_cast<std::size_t>(std::min<std::uint64_t>(form_end, image.size()));
    for (std::size_t position = 12; position < end;) {
        if (image.size() - position < 8)
            return false;
        const std::uint8_t* chunk = image.data() + position;
        const std::uint32_t size = read_u32le(chunk + 4);
        if (size > image.size() - position - 8)
            return false;
        if (format && !format_found && tag_is(chunk, "fmt ")) {
            if (size < smallest_format_chunk)
                return false;
            *format = {chunk + 8, size};
            format_found = true;
            if (!samples_wanted || data_found)
                return true;
        } else if (samples_wanted && !data_found && tag_is(chunk, "data")) {
            if (samples)
                *samples = chunk + 8;
            if (sample_size)
                *sample_size = size;
            data_found = true;
            if (!format || format_found)
                return true;
        }
        position += 8 + std::size_t{size} + (size & 1);
    }
    return false;
}

std::vector<std::uint8_t> load_wave_file(const char* name, WaveData& wave) {
    wave = {};
    std::FILE* stream = open_resource(name);
    if (stream == nullptr) {
        error_box(name, "Error reading file");
        return {};
    }
    std::vector<std::uint8_t> image = read_resource(stream, resource_size);
    std::fclose(stream);
    if (!parse_wave(image, &wave.format, &wave.samples, &wave.data_size))
        return {};
    return image;
}
