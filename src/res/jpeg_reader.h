#pragma once

#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>

#include <jpeglib.h>

#include "res/image.h"

// Locked pixels to decode into: `height` rows of `width` pixels, `pitch` bytes apart.
struct PixelTarget {
    std::uint8_t* pixels = nullptr;
    std::size_t pitch = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// libjpeg's error manager followed by the place its fatal errors jump back to.
struct JpegErrorManager {
    jpeg_error_mgr standard;
    std::jmp_buf resume;
};

// One JPEG picture decoded by libjpeg. Every error of the library comes back here instead of
// ending the program: the reader then reports failure and the picture stays undrawn.
class JpegReader {
  public:
    // Reads the header and starts decompressing; ok() tells whether that worked.
    explicit JpegReader(std::span<const std::uint8_t> file);
    ~JpegReader();
    JpegReader(const JpegReader&) = delete;
    JpegReader& operator=(const JpegReader&) = delete;

    bool ok() const { return started_; }
    std::int32_t width() const { return static_cast<std::int32_t>(decompressor_.output_width); }
    std::int32_t height() const { return static_cast<std::int32_t>(decompressor_.output_height); }

    // Decodes every row and writes those that fit into `target` in the display's pixel
    // format (nothing is written on an 8-bit display). False when the data turned out broken;
    // rows decoded before that stay written.
    bool decode_into(const PixelTarget& target, const DisplayFormat& format);

  private:
    bool start(std::span<const std::uint8_t> file);
    void write_row(JSAMPROW row, const PixelTarget& target, const DisplayFormat& format) const;

    jpeg_decompress_struct decompressor_{};
    JpegErrorManager errors_{};
    bool started_ = false;
};
