#pragma once

#include <array>
#include <cstdint>

constexpr int piece_kinds = 7;

// The box of piece kind 1 to 7 as it comes in, in the column-by-column order
// of Piece::cells.
std::array<std::uint8_t, 16> shape_cells(int kind);
