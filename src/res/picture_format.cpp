#include "res/picture_format.h"

#include <algorithm>
#include <array>
#include <string>
#include <utility>

#include "res/name_case.h"
#include "res/picture_decoders.h"

namespace {

constexpr std::array<std::pair<const char*, PictureFormat>, 8> extensions = {{
    {".JPG", PictureFormat::Jpg},
    {".TGA", PictureFormat::Tga},
    {".PI1", PictureFormat::Pi1},
    {".BMP", PictureFormat::Bmp},
    {".PCX", PictureFormat::Pcx},
    {".PIC", PictureFormat::Pic},
    {".GIF", PictureFormat::Gif},
    {".PIX", PictureFormat::Pix},
}};

// TGA, PI1 and PCX pictures decode into a buffer of the display's size.
void allocate_display_sized(Image& image, const DisplayFormat& format) {
    image.pixels.assign(
        static_cast<std::size_t>(format.width) * format.height * format.bytes_per_pixel(), 0);
}

// Cuts the picture to the rows its buffer really holds, so that copying width x height
// pixels from it never reads past its end.
void fit_to_buffer(Image& image, const DisplayFormat& format) {
    if (image.width <= 0 || image.height <= 0) {
        image.width = 0;
        image.height = 0;
        return;
    }
    const std::size_t row_length = static_cast<std::size_t>(image.width) * format.bytes_per_pixel();
    const std::size_t rows = image.pixels.size() / row_length;
    if (rows == 0)
        image.width = 0;
    image.height = static_cast<std::int32_t>(std::min<std::size_t>(image.height, rows));
}

} // namespace

PictureFormat picture_format_of(const char* name) {
    const std::string upper = ascii_uppered(name);
    for (const auto& [extension, format] : extensions)
        if (upper.find(extension) != std::string::npos)
            return format;
    return PictureFormat::None;
}

void decode_picture(PictureFormat format, std::span<const std::uint8_t> file,
                    const DisplayFormat& display_format, Image& image) {
    switch (format) {
    case PictureFormat::Tga:
        allocate_display_sized(image, display_format);
        load_tga(file, image);
        break;
    case PictureFormat::Pi1:
        allocate_display_sized(image, display_format);
        load_pi1(file, image);
        break;
    case PictureFormat::Pcx:
        allocate_display_sized(image, display_format);
        load_pcx(file, image);
        break;
    case PictureFormat::Bmp:
        load_bmp(file, display_format, image);
        break;
    case PictureFormat::Pic:
        decode_pic(file, display_format, image);
        break;
    case PictureFormat::Pix:
        decode_pix(file, display_format, image);
        break;
    case PictureFormat::Jpg:
    case PictureFormat::Gif:
    case PictureFormat::None:
        break;
    }
    fit_to_buffer(image, display_format);
}
