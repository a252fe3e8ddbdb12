#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "gfx/picture_palette.h"

// Run-length packs palette indices into the packets the game's PIX reader unpacks.
std::vector<std::uint8_t> pack_pix_runs(std::span<const std::uint8_t> indices);

// A complete PIX file: header, packed length, pixel data and palette. The pixels are stored
// packed when that is shorter than width x height bytes, raw otherwise. `indices` holds
// width x height bytes, rows top to bottom. Throws std::invalid_argument for sizes the format
// cannot hold (width or height outside 1..32767, wrong number of indices).
std::vector<std::uint8_t> encode_pix(int width, int height, std::span<const std::uint8_t> indices,
                                     const Palette& palette);
