#include "icon_file.h"

namespace {

void put16(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

constexpr std::uint32_t header_bytes = 6;
constexpr std::uint32_t entry_bytes = 16;
constexpr std::uint32_t bitmap_header_bytes = 40;

// Rows of the mask are padded to four bytes.
std::uint32_t mask_row_bytes(int width) {
    return static_cast<std::uint32_t>((width + 31) / 32 * 4);
}

std::uint32_t picture_bytes(const Canvas& picture) {
    const auto side = static_cast<std::uint32_t>(picture.width);
    return bitmap_header_bytes + side * side * 4 + mask_row_bytes(picture.width) * side;
}

// A bitmap header (its height counts colours and mask together), the
// blue-green-red-alpha pixels and the transparency mask, both bottom row
// first.
void put_picture(std::vector<std::uint8_t>& out, const Canvas& picture, const std::uint8_t* rgb,
                 std::uint8_t transparent) {
    put32(out, bitmap_header_bytes);
    put32(out, static_cast<std::uint32_t>(picture.width));
    put32(out, static_cast<std::uint32_t>(picture.height * 2));
    put16(out, 1);  // planes
    put16(out, 32); // bits per pixel
    for (int i = 0; i < 6; ++i)
        put32(out, 0); // uncompressed; sizes, resolutions and colour counts unused
    for (int y = picture.height - 1; y >= 0; --y)
        for (int x = 0; x < picture.width; ++x) {
            const std::uint8_t index = picture.at(x, y);
            const std::uint8_t* colour = rgb + 3 * index;
            out.insert(out.end(), {colour[2], colour[1], colour[0],
                                   static_cast<std::uint8_t>(index == transparent ? 0 : 255)});
        }
    for (int y = picture.height - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(mask_row_bytes(picture.width), 0);
        for (int x = 0; x < picture.width; ++x)
            if (picture.at(x, y) == transparent)
                row[std::size_t(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        out.insert(out.end(), row.begin(), row.end());
    }
}

} // namespace

std::vector<std::uint8_t> make_icon_file(const std::vector<Canvas>& pictures,
                                         const std::uint8_t* rgb, std::uint8_t transparent) {
    std::vector<std::uint8_t> out;
    put16(out, 0); // reserved
    put16(out, 1); // an icon, not a cursor
    put16(out, static_cast<std::uint32_t>(pictures.size()));
    auto offset = static_cast<std::uint32_t>(header_bytes + entry_bytes * pictures.size());
    for (const Canvas& picture : pictures) {
        // A side of 256 is written as 0.
        out.push_back(static_cast<std::uint8_t>(picture.width));
        out.push_back(static_cast<std::uint8_t>(picture.height));
        out.push_back(0); // no palette
        out.push_back(0); // reserved
        put16(out, 1);    // colour planes
        put16(out, 32);   // bits per pixel
        put32(out, picture_bytes(picture));
        put32(out, offset);
        offset += picture_bytes(picture);
    }
    for (const Canvas& picture : pictures)
        put_picture(out, picture, rgb, transparent);
    return out;
}
