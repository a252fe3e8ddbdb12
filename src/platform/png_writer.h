#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

// Writes an 8-bit indexed picture as a PNG file (for tests, debugging and the
// data tools). `rgb` holds 256 entries of red, green, blue, 8 bits each;
// pixels of index `transparent` (when 0 to 255) are see-through.
// Returns false when the file cannot be written.
bool write_png_indexed(const std::string& path, int width, int height, const std::uint8_t* pixels,
                       std::size_t pitch, const std::uint8_t* rgb, int transparent = -1);

} // namespace platform
