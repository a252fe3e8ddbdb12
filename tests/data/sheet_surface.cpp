#include "data/sheet_surface.h"

#include <cstring>

#include "data/run_directory.h"
#include "platform/headless/headless.h"

Surface load_sheet_surface(const char* name) {
    Image image;
    {
        InRunDirectory in_run_directory;
        image = load_pix_resource(name);
    }
    Surface surface;
    if (image.width <= 0 || display.direct_draw->create_surface(image.width, image.height,
                                                                surface) != platform::Result::Ok) {
        return nullptr;
    }
    platform::LockedPixels locked;
    if (surface->lock(locked) != platform::Result::Ok) {
        return nullptr;
    }
    for (int y = 0; y < image.height; ++y) {
        std::memcpy(locked.pixels + std::size_t(y) * std::size_t(locked.pitch),
                    image.pixels.data() + std::size_t(y) * std::size_t(image.width),
                    std::size_t(image.width));
    }
    surface->unlock();
    surface->set_color_key(0);
    return surface;
}

std::vector<std::uint8_t> surface_pixels(const Surface& surface) {
    std::vector<std::uint8_t> pixels;
    platform::LockedPixels locked;
    if (!surface || surface->lock(locked) != platform::Result::Ok) {
        return pixels;
    }
    for (int y = 0; y < locked.height; ++y) {
        const std::uint8_t* row = locked.pixels + std::size_t(y) * std::size_t(locked.pitch);
        pixels.insert(pixels.end(), row, row + locked.width);
    }
    surface->unlock();
    return pixels;
}

void HeadlessDisplayTest::SetUp() {
    headless::reset();
    ASSERT_TRUE(open_display(mode_windowed, "Blokit", 8, 640, 480, 640, 480));
}

void HeadlessDisplayTest::TearDown() {
    close_display();
}
