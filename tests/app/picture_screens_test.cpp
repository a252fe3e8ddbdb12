#include "app/app_fixture.h"
#include "app/screen_fixture.h"
#include "support/golden_frame.h"

#include "app/picture_screens.h"
#include "app/window_proc.h"
#include "data/run_directory.h"
#include "game/session.h"
#include "gfx/palette.h"
#include "platform/keyboard.h"
#include "platform/messages.h"

using platform::vk::Escape;
using platform::vk::Return;
using platform::vk::Space;

class PictureScreensTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        open_active_game_display();
    }
};

TEST_F(PictureScreensTest, TheLogoFillsTheScreenInItsOwnColours) {
    const Image logo = load_pix_resource("QMLOGO.PIX");
    ASSERT_EQ(logo.width, 640);
    ASSERT_EQ(logo.height, 480);
    tap(Return, 2000);
    show_logo_screen();
    const headless::Frame& frame = *headless::last_frame();
    int differ = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            differ += frame.at(x, y) != logo.pixels[std::size_t(y) * 640 + x];
    EXPECT_EQ(differ, 0);
    // The frame's colours are the picture's, widened from 6 to 8 bits.
    for (int component = 0; component < 768; component += 97)
        EXPECT_EQ(frame.rgb[std::size_t(component)] >> 2, logo.palette[std::size_t(component)]);
    expect_golden_frame(frame, "logo");
}

TEST_F(PictureScreensTest, AKeyStillHeldFromBeforeMustBeReleasedFirst) {
    headless::set_key(Space, true);
    headless::release_at(1500, Space);
    tap(Escape, 1800);
    show_logo_screen();
    EXPECT_GE(headless::now(), 1800u);
    EXPECT_LT(headless::now(), 1850u);
    EXPECT_FALSE(quit_requested);
}

TEST_F(PictureScreensTest, TheLogoEndsAtTheQuitMessagePostedBeforeIt) {
    platform::post_quit_message(0);
    show_logo_screen();
    EXPECT_TRUE(quit_requested);
    EXPECT_LT(headless::now(), 1100u);
}

TEST_F(PictureScreensTest, TheAdvertWaitsForAKeyEvenAfterAQuitAndLeavesTheQuitSet) {
    quit_requested = true;
    tap(Space, 3000);
    show_advert_screen();
    EXPECT_GE(headless::now(), 3000u);
    EXPECT_TRUE(quit_requested);
    const headless::Frame& frame = *headless::last_frame();
    // Black bands of 40 rows above and below the 640 x 400 picture.
    EXPECT_EQ(count_other(frame, 0, 0, 640, 40, 0), 0);
    EXPECT_EQ(count_other(frame, 0, 440, 640, 480, 0), 0);
    EXPECT_GT(count_other(frame, 0, 40, 640, 440, 0), 640 * 200);
    const Image advert = load_pix_resource("WERBEPIX.PIX");
    ASSERT_EQ(advert.width, 640);
    EXPECT_EQ(frame.at(300, 40 + 200), advert.pixels[200 * 640 + 300]);
    expect_golden_frame(frame, "closing");
}

TEST_F(PictureScreensTest, TheAdvertEndsAtAQuitMessage) {
    headless::post_at(2500, {platform::MessageKind::Quit, 0});
    show_advert_screen();
    EXPECT_GE(headless::now(), 2500u);
    EXPECT_LT(headless::now(), 2600u);
    EXPECT_TRUE(quit_requested);
}

TEST_F(PictureScreensTest, TheAdvertDoesNotWaitOnceTheWindowIsGone) {
    platform::dispatch_message({platform::MessageKind::Close, 0});
    ASSERT_TRUE(window_destroyed);
    show_advert_screen();
    EXPECT_LT(headless::now(), 1100u);
    EXPECT_TRUE(quit_requested);
}

TEST_F(PictureScreensTest, AMissingPictureLeavesABlackScreenAndStillWaits) {
    std::filesystem::remove(scratch_ / "DATA.ONE");
    tap(Return, 1500);
    show_logo_screen();
    EXPECT_GE(headless::now(), 1500u);
    EXPECT_EQ(count_other(*headless::last_frame(), 0, 0, 640, 480, 0), 0);
}
