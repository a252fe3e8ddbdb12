#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "gfx/picture_palette.h"

// The bytes of `file` from `offset` on, at most `length` of them: fewer, or none, when the
// file ends sooner.
inline std::span<const std::uint8_t> bytes_at(std::span<const std::uint8_t> file,
                                              std::size_t offset, std::size_t length) {
    if (offset >= file.size())
        return {};
    return file.subspan(offset, std::min(length, file.size() - offset));
}

// Copies a stored 768-byte palette at `offset`, or as much of it as the file holds.
inline void read_palette(std::span<const std::uint8_t> file, std::size_t offset, Palette& palette) {
    const auto stored = bytes_at(file, offset, palette.size());
    std::copy(stored.begin(), stored.end(), palette.begin());
}
