#pragma once

// Pictures of the run directory put into surfaces of the headless display,
// as the asset loading does, and read back.

#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "gfx/display.h"

// A surface holding the named picture of the run directory, loaded as the
// asset loading does, with colour key 0; null when it cannot be loaded. The
// display must be open.
Surface load_sheet_surface(const char* name);
// The pixels of a surface, row by row.
std::vector<std::uint8_t> surface_pixels(const Surface& surface);

// Tests that draw: a headless 640 x 480 display at 8 bits, open while the
// test runs.
class HeadlessDisplayTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
};
