#include "test_files.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <unistd.h>

#include <jpeglib.h>

#include "formats/byte_writer.h"
#include "support/temporary_directory.h"

namespace fs = std::filesystem;

ScratchDirectory::ScratchDirectory()
    : previous_(fs::current_path()), path_(make_temporary_directory("blokit-res")) {
    fs::current_path(path_);
}

ScratchDirectory::~ScratchDirectory() {
    fs::current_path(previous_);
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

void write_file(const fs::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

Bytes read_whole_file(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

Palette test_palette() {
    Palette palette{};
    for (int i = 0; i < 256; ++i) {
        palette[3 * i] = static_cast<std::uint8_t>(i % 64);
        palette[3 * i + 1] = static_cast<std::uint8_t>((i / 4) % 64);
        palette[3 * i + 2] = static_cast<std::uint8_t>(63 - i % 64);
    }
    return palette;
}

Bytes test_indices(int width, int height) {
    std::mt19937 random(12345);
    Bytes indices(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            indices[static_cast<std::size_t>(y) * width + x] =
                random() % 8 == 0 ? static_cast<std::uint8_t>(random())
                                  : static_cast<std::uint8_t>((x / 37 + y / 11) & 0xFF);
    return indices;
}

Bytes make_pix(int width, int height, std::uint32_t stored_length, const Bytes& data,
               const Palette& palette, std::uint8_t format_byte) {
    Bytes out;
    put_text(out, "PIX");
    put_u8(out, 0);
    put_u8(out, 11);
    put_u16le(out, static_cast<unsigned>(width) & 0xFFFF);
    put_u16le(out, static_cast<unsigned>(height) & 0xFFFF);
    put_u8(out, format_byte);
    put_u8(out, 0);
    if (width == 320 && height == 200)
        put_u16le(out, stored_length);
    else
        put_u32le(out, stored_length);
    out.insert(out.end(), data.begin(), data.end());
    out.insert(out.end(), palette.begin(), palette.end());
    return out;
}

Bytes make_headerless_pix(const Bytes& packed, const Palette& palette) {
    Bytes out;
    put_u16le(out, static_cast<unsigned>(packed.size()));
    out.insert(out.end(), packed.begin(), packed.end());
    out.insert(out.end(), palette.begin(), palette.end());
    return out;
}

Bytes make_tga(int width, int height, const Bytes& bgr) {
    Bytes out(12, 0);
    out[2] = 2; // uncompressed true colour
    put_u16le(out, static_cast<unsigned>(width));
    put_u16le(out, static_cast<unsigned>(height));
    put_u8(out, 24);
    put_u8(out, 0);
    out.insert(out.end(), bgr.begin(), bgr.end());
    return out;
}

Bytes make_pi1(const std::array<std::uint16_t, 16>& palette_words, const Bytes& planes) {
    Bytes out = {0, 0};
    for (std::uint16_t word : palette_words) {
        put_u8(out, word >> 8);
        put_u8(out, word & 0xFF);
    }
    out.insert(out.end(), planes.begin(), planes.end());
    return out;
}

Bytes make_pcx(int width, int height, int bytes_per_line, const Bytes& packed, bool with_palette,
               const Bytes& rgb8) {
    Bytes out = {10, 5, 1, 8};
    put_u16le(out, 0);
    put_u16le(out, 0);
    put_u16le(out, static_cast<unsigned>(width - 1) & 0xFFFF);
    put_u16le(out, static_cast<unsigned>(height - 1) & 0xFFFF);
    out.resize(65, 0);
    put_u8(out, 1); // planes
    put_u16le(out, static_cast<unsigned>(bytes_per_line) & 0xFFFF);
    out.resize(128, 0);
    out.insert(out.end(), packed.begin(), packed.end());
    if (with_palette) {
        put_u8(out, 12);
        Bytes colours = rgb8;
        colours.resize(768, 0);
        out.insert(out.end(), colours.begin(), colours.end());
    }
    return out;
}

Bytes make_bmp(int width, int height, int bit_count, const Bytes& rows, const Bytes& table_bgr) {
    constexpr std::uint32_t data_offset = 14 + 40 + 1024;
    Bytes out;
    put_text(out, "BM");
    put_u32le(out, data_offset + static_cast<std::uint32_t>(rows.size()));
    put_u32le(out, 0);
    put_u32le(out, data_offset);
    put_u32le(out, 40);
    put_u32le(out, static_cast<std::uint32_t>(width));
    put_u32le(out, static_cast<std::uint32_t>(height));
    put_u16le(out, 1);
    put_u16le(out, static_cast<unsigned>(bit_count));
    out.resize(54, 0);
    for (std::size_t i = 0; i < 256; ++i) {
        for (std::size_t c = 0; c < 3; ++c)
            put_u8(out, 3 * i + c < table_bgr.size() ? table_bgr[3 * i + c] : 0);
        put_u8(out, 0);
    }
    out.insert(out.end(), rows.begin(), rows.end());
    return out;
}

Bytes make_jpeg(int width, int height, const Bytes& samples, bool grey, int quality) {
    jpeg_compress_struct compressor{};
    jpeg_error_mgr errors{};
    compressor.err = jpeg_std_error(&errors);
    jpeg_create_compress(&compressor);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&compressor, &buffer, &size);
    compressor.image_width = static_cast<JDIMENSION>(width);
    compressor.image_height = static_cast<JDIMENSION>(height);
    compressor.input_components = grey ? 1 : 3;
    compressor.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&compressor);
    jpeg_set_quality(&compressor, quality, TRUE);
    jpeg_start_compress(&compressor, TRUE);
    const std::size_t stride = static_cast<std::size_t>(width) * (grey ? 1 : 3);
    while (compressor.next_scanline < compressor.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(&samples[compressor.next_scanline * stride]);
        jpeg_write_scanlines(&compressor, &row, 1);
    }
    jpeg_finish_compress(&compressor);
    Bytes out(buffer, buffer + size);
    jpeg_destroy_compress(&compressor);
    std::free(buffer);
    return out;
}
