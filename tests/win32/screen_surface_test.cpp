// The full-screen picture of the Windows backend when another program has
// changed the display mode: the game's own retry (restore, then present
// again) must bring back the mode, a new chain and palette, and the picture.

#include <gtest/gtest.h>

#include "fake_direct_draw.h"
#include "platform/win32/screen_surface.h"

namespace {

using platform::Result;

class ScreenSurfaceTest : public testing::Test {
  protected:
    ScreenSurfaceTest() {
        setup.window = GetForegroundWindow(); // the game's window is in front
        setup.exclusive = true;
        setup.back_buffers = 1;
        setup.mode_width = 640;
        setup.mode_height = 480;
        setup.mode_depth = 8;
        win32::ScreenParts parts;
        parts.direct_draw = win32::hold(static_cast<IDirectDraw7*>(make_fake_direct_draw(display)));
        EXPECT_EQ(win32::make_screen_parts(setup, parts), DD_OK);
        screen = std::make_shared<win32::ScreenSurface>(std::move(parts), setup, 640, 480);
        back = std::make_shared<platform::Surface>(640, 480, 8);
        screen->chain(back);
        platform::PaletteEntries entries{};
        entries[1] = {10, 20, 30, 0};
        screen->set_palette(std::make_shared<platform::DevicePalette>(entries));
        back->color_fill({0, 0, 640, 480}, 1);
    }

    FakeDisplay display;
    win32::ScreenSetup setup;
    std::shared_ptr<win32::ScreenSurface> screen;
    std::shared_ptr<platform::Surface> back;
};

TEST_F(ScreenSurfaceTest, AModeChangedElsewhereIsSetAgainWithANewChainAndThePicture) {
    ASSERT_EQ(screen->flip(), Result::Ok);
    EXPECT_EQ(display.flips, 1);
    change_mode_elsewhere(display);
    display.shown.clear();

    EXPECT_EQ(screen->flip(), Result::SurfaceLost);
    EXPECT_EQ(screen->restore(), Result::Ok);
    EXPECT_EQ(display.modes_set, 1);
    EXPECT_EQ(display.mode, "640x480x8");
    EXPECT_EQ(display.chains_made, 2);
    // Shown again at once, in the game's colours, before the game draws.
    EXPECT_EQ(display.flips, 2);
    ASSERT_EQ(display.shown.size(), 640u * 480u);
    EXPECT_EQ(display.shown[640 * 240 + 320], 1);
    EXPECT_EQ(display.colour1, (std::array<std::uint8_t, 3>{10, 20, 30}));
    EXPECT_EQ(screen->flip(), Result::Ok);
    EXPECT_EQ(display.flips, 3);
}

// While the mode cannot be set (the game is not in front, or the display
// refuses), the picture stays lost and asking again is safe.
TEST_F(ScreenSurfaceTest, AModeThatCannotBeSetLeavesThePictureLostUntilItCan) {
    change_mode_elsewhere(display);
    display.refuse_mode = true;
    EXPECT_EQ(screen->restore(), Result::UnsupportedMode);
    EXPECT_EQ(screen->flip(), Result::SurfaceLost);
    EXPECT_EQ(screen->restore(), Result::UnsupportedMode);
    EXPECT_EQ(display.flips, 0);
    display.refuse_mode = false;
    EXPECT_EQ(screen->restore(), Result::Ok);
    EXPECT_EQ(screen->flip(), Result::Ok);
    EXPECT_EQ(display.chains_made, 2);
}

} // namespace
