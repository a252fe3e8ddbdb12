#pragma once

// Builders of the picture files and archives the tests feed to the game, and a scratch
// directory to run lookups in.

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "gfx/picture_palette.h"

using Bytes = std::vector<std::uint8_t>;

// A fresh directory that is the current directory while the object lives.
class ScratchDirectory {
  public:
    ScratchDirectory();
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path previous_;
    std::filesystem::path path_;
};

void write_file(const std::filesystem::path& path, const Bytes& bytes);
Bytes read_whole_file(const std::filesystem::path& path);

// A palette whose entry i is (i % 64, (i / 4) % 64, 63 - i % 64).
Palette test_palette();

// Indices of a width x height picture with long runs and some noise.
Bytes test_indices(int width, int height);

// A PIX file with the given header fields and stored length, then `data` and the palette.
Bytes make_pix(int width, int height, std::uint32_t stored_length, const Bytes& data,
               const Palette& palette, std::uint8_t format_byte = 0);

// The headerless PIX variant: 16-bit length, packed data, palette.
Bytes make_headerless_pix(const Bytes& packed, const Palette& palette);

// Uncompressed 24-bit TGA; `bgr` holds width x height x 3 bytes.
Bytes make_tga(int width, int height, const Bytes& bgr);

// Degas PI1: 16 big-endian palette words and 32000 bytes of planes.
Bytes make_pi1(const std::array<std::uint16_t, 16>& palette_words, const Bytes& planes);

// PCX with the window (0, 0, width - 1, height - 1), packed data and, when `with_palette`,
// the 12 marker and 256 8-bit colours (entry i = rgb8[3i..3i+2]).
Bytes make_pcx(int width, int height, int bytes_per_line, const Bytes& packed, bool with_palette,
               const Bytes& rgb8 = {});

// BMP with the given size and bit count; the colour table entry i is (blue, green, red) =
// table_bgr[3i..3i+2] when given; rows as stored (no padding), pixel data after the table.
Bytes make_bmp(int width, int height, int bit_count, const Bytes& rows,
               const Bytes& table_bgr = {});

// Baseline JPEG of width x height RGB pixels (or one grey sample per pixel).
Bytes make_jpeg(int width, int height, const Bytes& samples, bool grey = false, int quality = 95);
