#include "res/jpeg_reader.h"

#include <algorithm>

#include "res/pixel_conversion.h"

namespace {

// The library's working memory per picture; a hostile header must not claim gigabytes.
constexpr long max_jpeg_memory = 256L << 20;

[[noreturn]] void resume_after_error(j_common_ptr info) {
    // The library's error manager is the first member of the record holding the jump buffer.
    std::longjmp(reinterpret_cast<JpegErrorManager*>(info->err)->resume, 1);
}

// Warnings such as a premature end of the data are not shown anywhere.
void ignore_message(j_common_ptr) {}

} // namespace

JpegReader::JpegReader(std::span<const std::uint8_t> file) {
    decompressor_.err = jpeg_std_error(&errors_.standard);
    errors_.standard.error_exit = resume_after_error;
    errors_.standard.output_message = ignore_message;
    jpeg_create_decompress(&decompressor_);
    decompressor_.mem->max_memory_to_use = max_jpeg_memory;
    started_ = start(file);
}

JpegReader::~JpegReader() {
    jpeg_destroy_decompress(&decompressor_);
}

bool JpegReader::start(std::span<const std::uint8_t> file) {
    if (file.empty())
        return false;
    if (setjmp(errors_.resume) != 0)
        return false;
    jpeg_mem_src(&decompressor_, file.data(), static_cast<unsigned long>(file.size()));
    if (jpeg_read_header(&decompressor_, TRUE) != JPEG_HEADER_OK)
        return false;
    if (!is_picture_size(decompressor_.image_width, decompressor_.image_height))
        return false;
    // Greyscale pictures come out as RGB too, so every row holds three samples per pixel.
    decompressor_.out_color_space = JCS_RGB;
    return jpeg_start_decompress(&decompressor_) == TRUE;
}

bool JpegReader::decode_into(const PixelTarget& target, const DisplayFormat& format) {
    if (!started_)
        return false;
    if (setjmp(errors_.resume) != 0)
        return false;
    JSAMPARRAY row = (*decompressor_.mem->alloc_sarray)(
        reinterpret_cast<j_common_ptr>(&decompressor_), JPOOL_IMAGE,
        decompressor_.output_width * static_cast<JDIMENSION>(decompressor_.output_components), 1);
    while (decompressor_.output_scanline < decompressor_.output_height) {
        jpeg_read_scanlines(&decompressor_, row, 1);
        write_row(row[0], target, format);
    }
    jpeg_finish_decompress(&decompressor_);
    return true;
}

void JpegReader::write_row(JSAMPROW row, const PixelTarget& target,
                           const DisplayFormat& format) const {
    const auto y = static_cast<std::int32_t>(decompressor_.output_scanline) - 1;
    if (format.depth == 8 || y < 0 || y >= target.height)
        return;
    const std::int32_t count = std::min(width(), target.width);
    std::uint8_t* out = target.pixels + static_cast<std::size_t>(y) * target.pitch;
    for (std::int32_t x = 0; x < count; ++x, out += format.bytes_per_pixel())
        store_rgb_pixel(out, row[3 * x], row[3 * x + 1], row[3 * x + 2], format);
}
