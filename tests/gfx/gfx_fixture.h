#pragma once

// An open 640 x 480 display on the headless backend and surfaces filled by
// the tests.

#include "app/program_state.h"
#include "gfx/display.h"
#include "platform/headless/headless.h"
#include "platform/headless/screen.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>

class GfxTest : public ::testing::Test {
  protected:
    void SetUp() override {
        reset_program_state();
        headless::reset();
        ASSERT_TRUE(open_display(mode_fullscreen, "QM - Blokit", 8, 640, 480, 640, 480));
    }
    void TearDown() override { close_display(); }
};

// A new surface whose pixel (x, y) is fill(x, y).
inline Surface make_surface(int width, int height,
                            const std::function<std::uint8_t(int, int)>& fill) {
    Surface surface;
    EXPECT_EQ(display.direct_draw->create_surface(width, height, surface), platform::Result::Ok);
    platform::LockedPixels locked;
    EXPECT_EQ(surface->lock(locked), platform::Result::Ok);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            locked.pixels[y * locked.pitch + x] = fill(x, y);
    surface->unlock();
    return surface;
}

inline Surface make_surface(int width, int height, std::uint8_t value) {
    return make_surface(width, height, [value](int, int) { return value; });
}

// Pixel (x, y) of an 8-bit surface.
inline std::uint8_t pixel(const Surface& surface, int x, int y) {
    platform::LockedPixels locked;
    if (surface->lock(locked) != platform::Result::Ok)
        return 0xEE;
    const std::uint8_t value = locked.pixels[y * locked.pitch + x];
    surface->unlock();
    return value;
}

// How many pixels of the surface differ from `value`.
inline int count_not(const Surface& surface, std::uint8_t value) {
    platform::LockedPixels locked;
    if (surface->lock(locked) != platform::Result::Ok)
        return -1;
    int count = 0;
    for (int y = 0; y < locked.height; ++y)
        for (int x = 0; x < locked.width; ++x)
            count += locked.pixels[y * locked.pitch + x] != value;
    surface->unlock();
    return count;
}
