#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "res/image.h"

// The picture decoders. Each reads the whole file or archive member from memory and checks
// every length and offset against the bytes really there; what a short file leaves unread
// stays as the image held it. The palette arrives holding the caller's colours, so entries a
// decoder does not write keep them.

// Unpacks run-length packets of a PIX file into `out`, dropping what does not fit; returns
// the number of bytes written.
std::size_t unpack_pix_runs(std::span<const std::uint8_t> packed, std::span<std::uint8_t> out);

// PIX, and the headerless variant (a file not starting with "PIX"): sets the size, fills the
// pixels in the display's format and reads the palette.
void decode_pix(std::span<const std::uint8_t> file, const DisplayFormat& format, Image& image);

// PIC: a display-sized picture already in the display's pixel format, then the palette.
void decode_pic(std::span<const std::uint8_t> file, const DisplayFormat& format, Image& image);

// TGA, PI1 and PCX leave one-byte palette indices in image.pixels, which load_picture
// allocated display-sized; they write no further than that buffer and set width and height.
void load_tga(std::span<const std::uint8_t> file, Image& image);
void load_pi1(std::span<const std::uint8_t> file, Image& image);
void load_pcx(std::span<const std::uint8_t> file, Image& image);

// BMP: allocates the pixels (width x height x depth / 8 bytes) and decodes 8, 16 and 24-bit
// rows into the display's format, bottom-up rows first.
void load_bmp(std::span<const std::uint8_t> file, const DisplayFormat& format, Image& image);
