#include "app/app_fixture.h"
#include "app/screen_fixture.h"
#include "support/golden_frame.h"

#include "app/title_screen.h"
#include "audio/music.h"
#include "data/run_directory.h"
#include "game/player.h"
#include "game/session.h"
#include "platform/keyboard.h"
#include "platform/messages.h"

using platform::vk::Escape;
using platform::vk::Return;
using platform::vk::Space;

class TitleScreenTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        open_active_game_display();
        player_count = 1;
        game_mode = GameMode::Blob;
    }
    // How many pixels of the logo's 600 x 240 picture, placed with its top
    // at `top`, the frame does not show where the logo is opaque.
    static int logo_mismatches(const headless::Frame& frame, const Image& logo, int top) {
        int mismatches = 0;
        for (int y = std::max(0, top); y < top + 240; ++y)
            for (int x = 0; x < 600; ++x) {
                const std::uint8_t index = logo.pixels[std::size_t(y - top) * 600 + x];
                mismatches += index != 0 && frame.at(x + 10, y) != index;
            }
        return mismatches;
    }
};

TEST_F(TitleScreenTest, TheKeys1And2StartTheFallingPieceModeAtOnce) {
    tap(key_2, 1100);
    run_title_screen();
    EXPECT_EQ(player_count, 2);
    EXPECT_EQ(game_mode, GameMode::Blokit);
    EXPECT_FALSE(quit_requested);
    EXPECT_LT(headless::now(), 1200u);

    game_mode = GameMode::Blob;
    headless::advance(100);
    tap(key_1, headless::now() + 30);
    run_title_screen();
    EXPECT_EQ(player_count, 1);
    EXPECT_EQ(game_mode, GameMode::Blokit);
}

TEST_F(TitleScreenTest, BChoosesTheBlobModeAndKeepsThePlayerCount) {
    player_count = 2;
    game_mode = GameMode::Blokit;
    tap(key_b, 1100);
    run_title_screen();
    EXPECT_EQ(player_count, 2);
    EXPECT_EQ(game_mode, GameMode::Blob);
    EXPECT_FALSE(quit_requested);
}

TEST_F(TitleScreenTest, EscapeRequestsTheQuit) {
    tap(Escape, 1100);
    run_title_screen();
    EXPECT_TRUE(quit_requested);
    EXPECT_EQ(player_count, 1);
    EXPECT_EQ(game_mode, GameMode::Blokit);
}

TEST_F(TitleScreenTest, ClosingTheWindowEndsTheScreenWithTheQuitStillSet) {
    headless::post_at(1100, {platform::MessageKind::Close, 0});
    run_title_screen();
    EXPECT_TRUE(quit_requested);
    EXPECT_EQ(player_count, 1);
    EXPECT_LT(headless::now(), 1200u);
}

TEST_F(TitleScreenTest, AKeyHeldOverFromTheScreenBeforeDoesNothingHere) {
    // The key that left the logo or a result may still be down: it neither
    // starts a game nor ends the program, and the logo slides in after it.
    for (int key : {Space, Escape, Return}) {
        const std::uint64_t start = headless::now();
        const auto first = headless::frames_presented();
        headless::set_key(key, true);
        headless::release_at(start + 300, key);
        tap(key_2, start + 3000);
        run_title_screen();
        EXPECT_FALSE(quit_requested) << key;
        EXPECT_EQ(player_count, 2) << key;
        EXPECT_GE(headless::now(), start + 3000) << key;
        EXPECT_GT(headless::frames_presented(), first + 60) << key;
        player_count = 1;
        headless::advance(200);
    }
}

TEST_F(TitleScreenTest, TheLogoSlidesDownFourPixelsAStepUntilItRestsAtTheTop) {
    const Image logo = load_pix_resource("BLOKITS.PIX");
    ASSERT_EQ(logo.width, 600);
    ASSERT_EQ(logo.height, 240);
    const auto first = headless::frames_presented();
    tap(Return, 1080);
    run_title_screen();
    // The background, then one frame for each of the 60 steps from -240 to 0.
    const headless::Frame* step_30 = headless::frame(first + 30);
    ASSERT_NE(step_30, nullptr);
    EXPECT_EQ(logo_mismatches(*step_30, logo, -120), 0);
    EXPECT_GT(logo_mismatches(*step_30, logo, -116), 1000);
    const headless::Frame* step_60 = headless::frame(first + 60);
    ASSERT_NE(step_60, nullptr);
    EXPECT_EQ(logo_mismatches(*step_60, logo, 0), 0);
}

TEST_F(TitleScreenTest, TheScrollerFollowsTheSlideAndReturnThenStartsAGame) {
    tap(Return, 4000);
    run_title_screen();
    EXPECT_GE(headless::now(), 4000u);
    EXPECT_FALSE(quit_requested);
    EXPECT_EQ(player_count, 1);
    EXPECT_EQ(game_mode, GameMode::Blokit);
    // The scroller's line rests on the bottom edge and shows text there.
    const headless::Frame& frame = *headless::last_frame();
    const Dominant strip = dominant_index(frame, 8, 466, 632, 480);
    EXPECT_LT(strip.count, 624 * 14);
    expect_golden_frame(frame, "title_scroller");
}

TEST_F(TitleScreenTest, KeysDuringTheScrollerDecideLikeDuringTheSlide) {
    tap(key_2, 3000);
    run_title_screen();
    EXPECT_EQ(player_count, 2);
    EXPECT_GE(headless::now(), 3000u);
    headless::advance(100);
    tap(Escape, headless::now() + 2000);
    run_title_screen();
    EXPECT_TRUE(quit_requested);
}

TEST_F(TitleScreenTest, MSwitchesTheMusicOncePerPressWithoutEndingTheScreen) {
    // During the slide, and twice during the scroller.
    for (const std::uint64_t at : {1100, 3000, 4000})
        tap('M', at, 200);
    tap(key_2, 5000);
    run_title_screen();
    EXPECT_GE(headless::now(), 5000u);
    EXPECT_EQ(player_count, 2);
    EXPECT_FALSE(music_on);
}
