#include "gfx/display.h"
#include "gfx/palette.h"
#include "gfx/rect.h"
#include "platform/headless/headless.h"
#include "platform/headless/screen.h"

#include <gtest/gtest.h>

namespace {

using platform::Result;

class DisplayTest : public ::testing::Test {
  protected:
    void SetUp() override { headless::reset(); }
    void TearDown() override { close_display(); }
};

bool open_fullscreen() {
    return open_display(mode_fullscreen, "QM - Blokit", 8, 640, 480, 640, 480);
}
bool open_windowed() {
    return open_display(mode_windowed, "QM - Blokit", 8, 640, 480, 640, 480);
}

TEST_F(DisplayTest, FullScreenOpensAFlippingChainAndShowsIndexZeroFirst) {
    ASSERT_TRUE(open_fullscreen());
    EXPECT_EQ(display.present_mode, present_flip);
    EXPECT_EQ(display.windowed, 0);
    EXPECT_EQ(display.back_buffer->width(), 640);
    EXPECT_EQ(display.back_buffer->height(), 480);
    ASSERT_EQ(headless::frames_presented(), 1u);
    const headless::Frame* first = headless::last_frame();
    ASSERT_NE(first, nullptr);
    ASSERT_EQ(first->width, 640);
    ASSERT_EQ(first->height, 480);
    for (std::uint8_t pixel : first->pixels)
        ASSERT_EQ(pixel, 0);
    EXPECT_EQ(headless::cursor_count(), -1);
    EXPECT_TRUE(headless::shown_boxes().empty());
}

TEST_F(DisplayTest, WindowedOpensA640By480ClientAreaAndShowsTheBackBufferAtItsCorner) {
    ASSERT_TRUE(open_windowed());
    EXPECT_EQ(display.present_mode, present_blit);
    EXPECT_EQ(display.windowed, 1);
    const headless::WindowInfo window = headless::window_info();
    EXPECT_EQ(window.client_width, 640);
    EXPECT_EQ(window.client_height, 480);
    EXPECT_TRUE(window.shown);
    EXPECT_EQ(window.title, "QM - Blokit");
    EXPECT_EQ(headless::cursor_count(), 1);
    draw_rect(display.back_buffer, 0, 0, 1, 1, 7, 1);
    draw_rect(display.back_buffer, 639, 479, 640, 480, 9, 1);
    present_frame();
    const headless::Frame* frame = headless::last_frame();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->at(0, 0), 7);
    EXPECT_EQ(frame->at(639, 479), 9);
    EXPECT_EQ(frame->at(1, 0), 0);
}

} // namespace
