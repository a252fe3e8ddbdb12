#include "data/sheet_surface.h"

#include "app/program_state.h"
#include "data/run_directory.h"
#include "platform/headless/headless.h"
#include "res/picture.h"

Surface load_sheet_surface(const char* name) {
    InRunDirectory in_run_directory;
    Surface surface;
    if (load_picture(name, surface, nullptr) != 1) {
        return nullptr;
    }
    set_source_color_key(surface, 0);
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
    reset_program_state();
    headless::reset();
    ASSERT_TRUE(open_display(mode_windowed, "Blokit", 8, 640, 480, 640, 480));
}

void HeadlessDisplayTest::TearDown() {
    close_display();
}
