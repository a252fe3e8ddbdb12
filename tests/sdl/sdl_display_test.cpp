#include "gfx/display.h"
#include "gfx/palette.h"
#include "gfx/rect.h"
#include "platform/clock.h"
#include "platform/keyboard.h"
#include "platform/messages.h"
#include "platform/sdl/key_map.h"
#include "platform/sdl/screen_readback.h"
#include "platform/window.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

// No real screen, no box popping up on a desktop.
class SdlDisplay : public ::testing::Test {
  protected:
    void SetUp() override {
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        setenv("SDL_VIDEODRIVER", "dummy", 1);
    }
    void TearDown() override { close_display(); }
};

Palette test_palette() {
    Palette palette{};
    palette[3 * 1] = 63;     // index 1: red
    palette[3 * 2 + 1] = 63; // index 2: green
    palette[3 * 3 + 2] = 32; // index 3: dark blue
    return palette;
}

struct Screen {
    std::vector<std::uint32_t> pixels;
    int width = 0;
    int height = 0;
    std::uint32_t at(int x, int y) const { return pixels[std::size_t(y) * width + x] & 0xFFFFFF; }
};

Screen read_screen() {
    Screen screen;
    EXPECT_TRUE(sdl::read_screen(screen.pixels, screen.width, screen.height));
    return screen;
}

bool open(int mode) {
    return open_display(mode, "QM - Blokit", 8, 640, 480, 640, 480);
}

// Red top-left quarter, green bottom-right quarter, dark blue elsewhere.
void draw_test_picture() {
    clear_back_buffer(3);
    draw_rect(display.back_buffer, 0, 0, 320, 240, 1, 1);
    draw_rect(display.back_buffer, 320, 240, 640, 480, 2, 1);
}

void show_test_picture() {
    set_palette(test_palette());
    draw_test_picture();
    present_frame();
}

TEST_F(SdlDisplay, WindowedPresentShowsThePictureThroughThePaletteAndKeepsItsAspectWhenResized) {
    ASSERT_TRUE(open(mode_windowed));
    EXPECT_EQ(display.present_mode, present_blit);
    show_test_picture();
    Screen screen = read_screen();
    ASSERT_EQ(screen.width, 640);
    ASSERT_EQ(screen.height, 480);
    EXPECT_EQ(screen.at(0, 0), 0xFC0000u);
    EXPECT_EQ(screen.at(319, 239), 0xFC0000u);
    EXPECT_EQ(screen.at(320, 240), 0x00FC00u);
    EXPECT_EQ(screen.at(639, 0), 0x000080u);

    // A wide window: the 4:3 picture is 960 x 720 in the middle, bars beside it.
    display.window->set_client_size(1280, 720);
    present_frame();
    screen = read_screen();
    ASSERT_EQ(screen.width, 1280);
    ASSERT_EQ(screen.height, 720);
    EXPECT_EQ(screen.at(100, 100), 0u);
    EXPECT_EQ(screen.at(1200, 600), 0u);
    EXPECT_EQ(screen.at(170, 10), 0xFC0000u);
    EXPECT_EQ(screen.at(1110, 710), 0x00FC00u);
}

// Pixels of row `y` between x `from` and `to` that are neither `first` nor
// `second`: those blended by the scaling.
int blended(const Screen& screen, int y, int from, int to, std::uint32_t first,
            std::uint32_t second) {
    int count = 0;
    for (int x = from; x < to; ++x)
        count += screen.at(x, y) != first && screen.at(x, y) != second;
    return count;
}

TEST_F(SdlDisplay, PixelsStaySharpAtWholeAndBrokenScales) {
    constexpr std::uint32_t red = 0xFC0000u;
    constexpr std::uint32_t blue = 0x000080u;
    ASSERT_TRUE(open(mode_windowed));
    show_test_picture();
    // Twice the size: clean 2 x 2 blocks, no blending at all.
    display.window->set_client_size(1280, 960);
    present_frame();
    Screen screen = read_screen();
    EXPECT_EQ(screen.at(639, 100), red);
    EXPECT_EQ(screen.at(640, 100), blue);
    EXPECT_EQ(blended(screen, 100, 0, 1280, red, blue), 0);

    // 2.25 times on a 1920 x 1080 desktop: bars of 240 pixels; the linear
    // step of 1.125 leaves the edge between the colours two pixels wide at
    // most.
    display.window->set_client_size(1920, 1080);
    present_frame();
    screen = read_screen();
    EXPECT_EQ(screen.at(239, 100), 0u);
    EXPECT_EQ(screen.at(240, 100), red);
    EXPECT_EQ(screen.at(1679, 100), blue);
    EXPECT_EQ(screen.at(1680, 100), 0u);
    EXPECT_LE(blended(screen, 100, 240, 1680, red, blue), 2);
}

TEST_F(SdlDisplay, PresentRectShowsOnlyItsBand) {
    ASSERT_TRUE(open(mode_windowed));
    set_palette(test_palette());
    present_frame();
    draw_test_picture();
    present_rect(0, 100, {0, 100, 640, 120});
    const Screen screen = read_screen();
    EXPECT_EQ(screen.at(10, 99), 0u);
    EXPECT_EQ(screen.at(10, 100), 0xFC0000u);
    EXPECT_EQ(screen.at(600, 119), 0x000080u);
    EXPECT_EQ(screen.at(10, 120), 0u);
}

TEST_F(SdlDisplay, FullScreenScalesThePictureToTheDesktop) {
    ASSERT_TRUE(open(mode_fullscreen));
    EXPECT_EQ(display.present_mode, present_flip);
    show_test_picture();
    const Screen screen = read_screen();
    ASSERT_GT(screen.width, 640);
    EXPECT_EQ(screen.at(screen.width / 2 - 2, screen.height / 2 - 2), 0xFC0000u);
    EXPECT_EQ(screen.at(screen.width / 2 + 2, screen.height / 2 + 2), 0x00FC00u);
}

TEST_F(SdlDisplay, PresentsArePacedToTheRefreshRate) {
    ASSERT_TRUE(open(mode_windowed));
    const double rate = sdl::present_rate();
    ASSERT_GT(rate, 0);
    present_frame();
    const std::uint32_t start = platform::time_ms();
    for (int i = 0; i < 12; ++i)
        present_frame();
    EXPECT_GE(platform::time_ms() - start, static_cast<std::uint32_t>(11 * 1000 / rate));
}

TEST_F(SdlDisplay, AWaitWithADueTimeLastsUntilThenUnlessAMessageIsWaiting) {
    ASSERT_TRUE(open(mode_windowed));
    platform::Message message;
    while (platform::peek_message(message))
        platform::get_message(message);
    std::uint32_t start = platform::time_ms();
    platform::idle_until(start + 30);
    EXPECT_GE(platform::time_ms() - start, 30u);

    platform::post_quit_message(0);
    start = platform::time_ms();
    EXPECT_TRUE(platform::peek_message(message, start + 5000));
    EXPECT_LT(platform::time_ms() - start, 1000u);
    EXPECT_FALSE(platform::get_message(message)) << "the waiting message is the quit";
}

TEST_F(SdlDisplay, DepthsOtherThan8AreRefusedAndBoxesWithoutAScreenGetTheirFallbackAnswer) {
    // No box can be shown here; the failure is still reported as such.
    EXPECT_FALSE(open_display(mode_fullscreen, "QM - Blokit", 16, 640, 480, 640, 480));
    EXPECT_EQ(platform::message_box(nullptr, "text", "caption", platform::BoxButtons::YesNo,
                                    platform::BoxIcon::Information),
              platform::BoxAnswer::No);
}

std::vector<platform::MessageKind> seen;
void record(const platform::Message& message) {
    seen.push_back(message.kind);
    platform::default_window_procedure(message);
}

TEST_F(SdlDisplay, ShowingActivatesAndClosingDestroysTheWindowOnce) {
    seen.clear();
    platform::set_window_procedure(record);
    ASSERT_TRUE(open(mode_windowed));
    platform::Message message;
    while (platform::peek_message(message)) {
        platform::get_message(message);
        platform::dispatch_message(message);
    }
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front(), platform::MessageKind::ActivateApp);

    seen.clear();
    platform::dispatch_message({platform::MessageKind::Close, 0});
    platform::dispatch_message({platform::MessageKind::Close, 0});
    EXPECT_EQ(seen, (std::vector<platform::MessageKind>{platform::MessageKind::Close,
                                                        platform::MessageKind::Destroy,
                                                        platform::MessageKind::Close}));
    platform::post_quit_message(0);
    EXPECT_TRUE(platform::peek_message(message));
    EXPECT_FALSE(platform::get_message(message));
    platform::set_window_procedure(nullptr);
}

// Scancodes are USB HID usages: A is 4, 1 is 30, Return 40, keypad Enter 88,
// left and right Ctrl 224 and 228, left and right Shift 225 and 229.
TEST_F(SdlDisplay, KeysMapToVirtualKeysAsWindowsNamesThem) {
    ASSERT_TRUE(open(mode_windowed));
    EXPECT_EQ(sdl::scancodes_for(platform::vk::Control), (std::vector<int>{224, 228}));
    EXPECT_EQ(sdl::scancodes_for(platform::vk::Shift), (std::vector<int>{225, 229}));
    EXPECT_EQ(sdl::scancodes_for(platform::vk::Return), (std::vector<int>{40, 88}));
    EXPECT_EQ(sdl::scancodes_for('A'), (std::vector<int>{4}));
    EXPECT_EQ(sdl::scancodes_for('Z'), (std::vector<int>{29}));
    EXPECT_EQ(sdl::scancodes_for('1'), (std::vector<int>{30}));
    EXPECT_EQ(sdl::scancodes_for('0'), (std::vector<int>{39}));
    EXPECT_EQ(sdl::scancodes_for(platform::vk::F2), (std::vector<int>{59}));
    EXPECT_TRUE(sdl::scancodes_for(0xFF).empty());
    EXPECT_FALSE(platform::key_is_down('A'));
}

} // namespace
