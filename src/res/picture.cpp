#include "res/picture.h"

#include <algorithm>
#include <cstring>

#include "res/picture_format.h"
#include "res/picture_surface.h"
#include "res/resource.h"

namespace {

// Copies the picture to the surface's top-left, cut to the surface where it is smaller.
void copy_to_surface(const Image& image, const DisplayFormat& format, platform::Surface& surface) {
    platform::LockedPixels locked;
    if (!lock_waiting(surface, locked))
        return;
    const std::size_t source_row = static_cast<std::size_t>(image.width) * format.bytes_per_pixel();
    const std::size_t target_row = static_cast<std::size_t>(locked.width) * (locked.depth / 8);
    const std::size_t row_bytes = std::min(source_row, target_row);
    const int rows = std::min(image.height, locked.height);
    for (int y = 0; y < rows; ++y) {
        std::uint8_t* out = locked.pixels + static_cast<std::size_t>(y) * locked.pitch;
        std::memcpy(out, &image.pixels[y * source_row], row_bytes);
        // The fourth byte of a 32-bit pixel is always 0, whatever the file held.
        if (locked.depth == 32)
            for (std::size_t x = 3; x < row_bytes; x += 4)
                out[x] = 0;
    }
    surface.unlock();
}

} // namespace

DisplayFormat display_format() {
    return {display.screen_width, display.screen_height, display.depth, display.green_bits};
}

std::int8_t load_picture(const char* name, Surface& surface, Palette* palette) {
    const PictureFormat format = picture_format_of(name);
    if (format == PictureFormat::Jpg) {
        load_jpeg_to_surface(name, surface);
        return 1;
    }
    std::FILE* file = open_resource(name);
    if (file == nullptr)
        return 0;
    Image image;
    if (palette != nullptr)
        image.palette = *palette;
    const DisplayFormat target = display_format();
    decode_picture(format, read_resource(file, resource_size), target, image);
    std::fclose(file);
    if (!surface && !create_picture_surface(image.width, image.height, surface))
        return -2;
    if (palette != nullptr)
        *palette = image.palette;
    copy_to_surface(image, target, *surface);
    return 1;
}

void set_source_color_key(const Surface& surface, std::uint8_t index) {
    if (surface)
        surface->set_color_key(index);
}

void clear_palette(Palette& palette) {
    palette.fill(0);
}
