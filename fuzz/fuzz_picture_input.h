#pragma once

// What the picture fuzzers share: the first byte of an input chooses the display the picture
// is decoded for, the rest is the file. Afterwards the image must be copyable as it stands.

#include <cstdint>
#include <cstdlib>
#include <span>

#include "res/image.h"
#include "res/picture_format.h"

struct PictureInput {
    DisplayFormat format;
    std::span<const std::uint8_t> file;
};

// Bits 0-1: depth 8, 16, 24 or 32; bit 2: 5 green bits instead of 6; bit 3: a tiny display,
// so that pictures overflow the display-sized buffers. The displays are small, as every
// input allocates a display-sized buffer and decodes into it: the code is the same at any
// size, only slower at the game's.
inline PictureInput split_picture_input(const std::uint8_t* data, std::size_t size) {
    PictureInput input;
    input.format.width = 32;
    input.format.height = 20;
    if (size == 0)
        return input;
    const std::uint8_t choice = data[0];
    input.format.depth = 8 * (1 + (choice & 3));
    input.format.green_bits = (choice & 4) != 0 ? 5 : 6;
    if ((choice & 8) != 0) {
        input.format.width = 17;
        input.format.height = 11;
    }
    input.file = std::span(data + 1, size - 1);
    return input;
}

// The picture size a file's header claims, for formats whose buffer follows it.
struct ClaimedSize {
    std::int64_t width = 0;
    std::int64_t height = 0;
};
using ClaimReader = ClaimedSize (*)(std::span<const std::uint8_t> file);

// Sizes the decoders accept but larger than this are not tried: they would only cost the
// allocation of up to 64 MB per input and the decoding of every row. Claims beyond the decoders'
// limit are still tried.
inline constexpr std::int64_t fuzz_max_claimed_pixels = 64 * 64;

inline bool claims_too_much(const ClaimedSize& claimed) {
    return is_picture_size(claimed.width, claimed.height) &&
           claimed.width * claimed.height > fuzz_max_claimed_pixels;
}

// Decodes and checks that width x height pixels really are in the buffer.
inline void fuzz_decode(PictureFormat format, const std::uint8_t* data, std::size_t size,
                        ClaimReader claimed = nullptr) {
    const PictureInput input = split_picture_input(data, size);
    if (claimed && claims_too_much(claimed(input.file)))
        return;
    Image image;
    decode_picture(format, input.file, input.format, image);
    const auto needed =
        static_cast<std::size_t>(image.width) * image.height * input.format.bytes_per_pixel();
    if (image.width < 0 || image.height < 0 || needed > image.pixels.size())
        std::abort();
}
