#pragma once

#include <array>
#include <cstdint>

// The colours of a picture: 256 entries of red, green, blue, entry i at byte
// 3 * i, each component 0 to 63 (the scale of a VGA colour register).
using Palette = std::array<std::uint8_t, 768>;
