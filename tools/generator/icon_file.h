#pragma once

// The program's icon as a Windows icon file: one picture for each size
// Windows shows (Explorer, the taskbar, the title bar, at every display
// scaling), each a 32-bit bitmap with alpha, the form every Windows version
// reads at every size.

#include <array>
#include <cstdint>
#include <vector>

#include "canvas.h"

// The sizes Windows takes its icons at.
constexpr std::array<int, 6> windows_icon_sizes = {16, 24, 32, 48, 64, 256};

// The icon file holding `pictures` (square, 1 to 256 pixels a side) in their
// order; `rgb` holds 256 colours of three bytes, index `transparent` is
// see-through.
std::vector<std::uint8_t> make_icon_file(const std::vector<Canvas>& pictures,
                                         const std::uint8_t* rgb, std::uint8_t transparent);
