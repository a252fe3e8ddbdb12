#include "app/program_state.h"
#include "gfx/display.h"
#include "gfx/error_box.h"
#include "gfx/palette.h"
#include "gfx/rect.h"
#include "platform/headless/headless.h"
#include "platform/headless/screen.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using platform::Result;

class DisplayTest : public ::testing::Test {
  protected:
    void SetUp() override {
        reset_program_state();
        headless::reset();
    }
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

namespace {

using headless::VideoCall;
using platform::Result;

struct OpenFailure {
    int mode;
    VideoCall call;
    Result result;
    const char* message;
};

TEST_F(DisplayTest, EveryFailureOfTheOpeningShowsItsBoxAndReportsFalse) {
    const std::vector<OpenFailure> failures{
        {mode_fullscreen, VideoCall::CreateWindow, Result::Generic, "Cannot be initialized!"},
        {mode_windowed, VideoCall::CreateWindow, Result::Generic, "Cannot be initialized!"},
        {mode_fullscreen, VideoCall::CreateDevice, Result::Generic, "Cannot be initialized!"},
        {mode_windowed, VideoCall::CreateDevice, Result::OutOfMemory, "Cannot be initialized!"},
        {mode_fullscreen, VideoCall::SetCooperativeLevel, Result::ExclusiveModeAlreadySet,
         "SetCooperativeLevel failed!\nAlready set EXCLUSIVEMODE!"},
        {mode_fullscreen, VideoCall::SetCooperativeLevel, Result::HwndAlreadySet,
         "SetCooperativeLevel failed!\nAlready set HWND!"},
        {mode_fullscreen, VideoCall::SetCooperativeLevel, Result::HwndSubclassed,
         "SetCooperativeLevel failed!\nHWND subclassed!"},
        {mode_fullscreen, VideoCall::SetCooperativeLevel, Result::InvalidObject,
         "SetCooperativeLevel failed!\nInvalid object!"},
        {mode_fullscreen, VideoCall::SetCooperativeLevel, Result::InvalidParams,
         "SetCooperativeLevel failed!\nInvalid params!"},
        {mode_fullscreen, VideoCall::SetCooperativeLevel, Result::OutOfMemory,
         "SetCooperativeLevel failed!\nOut of memory!"},
        {mode_fullscreen, VideoCall::SetDisplayMode, Result::Generic, "SetDisplayMode failed!\n1"},
        {mode_fullscreen, VideoCall::SetDisplayMode, Result::InvalidMode,
         "SetDisplayMode failed!\n2"},
        {mode_fullscreen, VideoCall::SetDisplayMode, Result::InvalidObject,
         "SetDisplayMode failed!\n3"},
        {mode_fullscreen, VideoCall::SetDisplayMode, Result::InvalidParams,
         "SetDisplayMode failed!\n4"},
        {mode_fullscreen, VideoCall::SetDisplayMode, Result::LockedSurfaces,
         "SetDisplayMode failed!\n5"},
        {mode_fullscreen, VideoCall::SetDisplayMode, Result::NoExclusiveMode,
         "SetDisplayMode failed!\n6"},
        {mode_fullscreen, VideoCall::SetDisplayMode, Result::SurfaceBusy,
         "SetDisplayMode failed!\n7"},
        {mode_fullscreen, VideoCall::SetDisplayMode, Result::Unsupported,
         "SetDisplayMode failed!\n8"},
        {mode_fullscreen, VideoCall::SetDisplayMode, Result::UnsupportedMode,
         "SetDisplayMode failed!\n9"},
        {mode_fullscreen, VideoCall::SetDisplayMode, Result::WasStillDrawing,
         "SetDisplayMode failed!\n10"},
        {mode_fullscreen, VideoCall::SetDisplayMode, Result::OutOfMemory, "SetDisplayMode failed!"},
        {mode_fullscreen, VideoCall::CreatePrimarySurface, Result::OutOfMemory,
         "Cannot create Buffers!"},
        {mode_windowed, VideoCall::CreatePrimarySurface, Result::Generic,
         "Cannot create frontbuffer!"},
        {mode_windowed, VideoCall::CreateSurface, Result::OutOfMemory, "Cannot create backbuffer!"},
    };
    for (const OpenFailure& failure : failures) {
        close_display();
        headless::reset();
        headless::fail_video_call(failure.call, failure.result);
        EXPECT_FALSE(open_display(failure.mode, "QM - Blokit", 8, 640, 480, 640, 480))
            << failure.message;
        ASSERT_EQ(headless::shown_boxes().size(), 1u) << failure.message;
        const headless::ShownBox& box = headless::shown_boxes().front();
        EXPECT_EQ(box.text, failure.message);
        EXPECT_EQ(box.caption, "Direct Draw");
        EXPECT_EQ(box.icon, platform::BoxIcon::Warning);
        EXPECT_EQ(box.buttons, platform::BoxButtons::Ok);
        // The cursor stays visible after the box.
        EXPECT_GE(headless::cursor_count(), 0) << failure.message;
        EXPECT_EQ(headless::frames_presented(), 0u);
    }
}

// The opening goes on to its next step, which then meets a device that has
// no window bound: the box names that step, not the cooperative level.
TEST_F(DisplayTest, OtherCooperativeLevelFailuresAreNotReported) {
    headless::fail_video_call(VideoCall::SetCooperativeLevel, Result::Generic);
    EXPECT_FALSE(open_fullscreen());
    ASSERT_EQ(headless::shown_boxes().size(), 1u);
    EXPECT_EQ(headless::shown_boxes()[0].text, "SetDisplayMode failed!\n6");
    close_display();
    headless::reset();
    headless::fail_video_call(VideoCall::SetCooperativeLevel, Result::InvalidParams);
    EXPECT_FALSE(open_windowed());
    ASSERT_EQ(headless::shown_boxes().size(), 1u);
    EXPECT_EQ(headless::shown_boxes()[0].text, "Cannot create frontbuffer!");
}

TEST_F(DisplayTest, ErrorBoxShowsTheCursorOnlyWhileTheBoxIsUp) {
    display.window.reset(); // as before the first opening
    error_box("no display", "Test");
    ASSERT_EQ(headless::shown_boxes().size(), 1u);
    EXPECT_FALSE(headless::shown_boxes()[0].owned);
    EXPECT_EQ(headless::shown_boxes()[0].cursor_count, 1);
    EXPECT_EQ(headless::flips_to_gdi_surface(), 0);
    EXPECT_EQ(headless::cursor_count(), 0);

    ASSERT_TRUE(open_fullscreen());
    error_box("Unable to open file", "Sound");
    ASSERT_EQ(headless::shown_boxes().size(), 2u);
    const headless::ShownBox& box = headless::shown_boxes()[1];
    EXPECT_TRUE(box.owned);
    EXPECT_EQ(box.cursor_count, 0); // hidden (-1) by the full-screen open, shown for the box
    EXPECT_EQ(headless::flips_to_gdi_surface(), 1);
    EXPECT_EQ(headless::cursor_count(), -1);
}

TEST_F(DisplayTest, APresentThatFindsTheFrontBufferLostRestoresAndFlips) {
    ASSERT_TRUE(open_fullscreen());
    headless::fail_next(*display.front_buffer, Result::SurfaceLost, 2);
    draw_rect(display.back_buffer, 0, 0, 640, 480, 4, 1);
    present_frame();
    EXPECT_EQ(headless::restores(), (std::vector<const platform::Surface*>{
                                        display.front_buffer.get(), display.front_buffer.get()}));
    ASSERT_NE(headless::last_frame(), nullptr);
    EXPECT_EQ(headless::last_frame()->at(320, 240), 4);
}

TEST_F(DisplayTest, AWindowedPresentRestoresFrontThenBackAndRetriesOtherFailures) {
    ASSERT_TRUE(open_windowed());
    headless::fail_next(*display.back_buffer, Result::SurfaceLost, 1);
    present_frame();
    EXPECT_EQ(headless::restores(), (std::vector<const platform::Surface*>{
                                        display.front_buffer.get(), display.back_buffer.get()}));
    const std::uint64_t shown = headless::frames_presented();
    headless::fail_next(*display.front_buffer, Result::Generic, 5);
    present_rect(0, 0, {0, 0, 640, 10});
    EXPECT_EQ(headless::frames_presented(), shown + 1);
}

TEST_F(DisplayTest, APresentThatNeverSucceedsGivesUpInsteadOfHanging) {
    ASSERT_TRUE(open_fullscreen());
    const std::uint64_t shown = headless::frames_presented();
    headless::fail_next(*display.front_buffer, Result::SurfaceLost, 1000000);
    present_frame();
    present_rect(0, 0, {0, 0, 10, 10});
    EXPECT_EQ(headless::frames_presented(), shown);
    headless::fail_next(*display.front_buffer, Result::Ok, 0);
    present_frame();
    EXPECT_EQ(headless::frames_presented(), shown + 1);
}

TEST_F(DisplayTest, PresentRectShowsOnlyItsBandInFullScreen) {
    ASSERT_TRUE(open_fullscreen());
    draw_rect(display.back_buffer, 0, 0, 640, 480, 5, 1);
    present_rect(0, 100, {0, 100, 640, 120});
    const headless::Frame* frame = headless::last_frame();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->at(0, 99), 0);
    EXPECT_EQ(frame->at(0, 100), 5);
    EXPECT_EQ(frame->at(639, 119), 5);
    EXPECT_EQ(frame->at(0, 120), 0);
    // A band reaching outside the back buffer is refused as a whole.
    present_rect(600, 0, {600, 0, 700, 10});
    present_rect(-2147483647 - 1, 0, {0, 0, 2147483647, 10});
    present_rect(0, 0, {-2147483647 - 1, 0, 2147483647, 10});
    EXPECT_EQ(headless::last_frame()->at(620, 5), 0);
}

TEST_F(DisplayTest, ClosingReleasesEverythingAndPresentingAfterwardsDoesNothing) {
    ASSERT_TRUE(open_fullscreen());
    close_display();
    EXPECT_EQ(display.front_buffer, nullptr);
    EXPECT_EQ(display.back_buffer, nullptr);
    EXPECT_EQ(display.direct_draw, nullptr);
    const std::uint64_t shown = headless::frames_presented();
    present_frame();
    clear_back_buffer(3);
    EXPECT_EQ(headless::frames_presented(), shown);
}

TEST_F(DisplayTest, FramesCanBeWrittenAsPng) {
    ASSERT_TRUE(open_windowed());
    draw_rect(display.back_buffer, 100, 100, 200, 200, 1, 1);
    present_frame();
    const std::string path = ::testing::TempDir() + "display_frame.png";
    ASSERT_TRUE(headless::write_frame_png(*headless::last_frame(), path));
    std::FILE* file = std::fopen(path.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    unsigned char signature[8] = {};
    EXPECT_EQ(std::fread(signature, 1, 8, file), 8u);
    std::fclose(file);
    EXPECT_EQ(signature[1], 'P');
}

} // namespace
