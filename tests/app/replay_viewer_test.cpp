// Watching a replay with the game's own screens: it ends on the picture the
// game ended on, stops on Esc, runs twice as fast with Tab held, says when it
// goes out of step, and leaves the program's own game values as they were.
#include "app/replay_viewer.h"

#include <gtest/gtest.h>

#include "app/loaded_assets.h"
#include "app/playfield_output.h"
#include "app/screen_fixture.h"
#include "game/game_loop.h"
#include "game/game_output.h"
#include "game/player.h"
#include "game/session.h"
#include "platform/headless/headless.h"
#include "platform/headless/screen.h"
#include "platform/keyboard.h"

namespace {

namespace vk = platform::vk;

class ReplayViewerTest : public LoadedAssetsTest {
  protected:
    void SetUp() override {
        LoadedAssetsTest::SetUp();
        attach_playfield_output();
        app_active = 1;
    }
    void TearDown() override {
        set_game_output(nullptr);
        LoadedAssetsTest::TearDown();
    }

    // A two-player game with moves, drops, a key-set change and a pause,
    // ended with Esc.
    static Replay play_game() {
        player_count = 2;
        const std::uint64_t start = headless::now();
        for (std::uint64_t at = 300; at < 3000; at += 290) {
            tap(at / 290 % 2 ? 'A' : vk::Right, start + at);
            tap(at / 290 % 3 ? vk::Control : 'W', start + at + 100);
        }
        tap(vk::F1, start + 1000);
        tap('P', start + 1500);
        tap(vk::Space, start + 2500);
        tap(vk::Escape, start + 4000);
        std::optional<Replay> replay = run_game();
        EXPECT_TRUE(replay.has_value());
        return replay.value_or(Replay{});
    }

    // How long watching `replay` takes on the virtual clock.
    static std::uint64_t watching_time(const Replay& replay) {
        const std::uint64_t start = headless::now();
        watch_replay(replay);
        return headless::now() - start;
    }
};

TEST_F(ReplayViewerTest, AReplayEndsOnTheLastPictureOfItsGame) {
    const Replay replay = play_game();
    const std::vector<std::uint8_t> last_picture = headless::last_frame()->pixels;
    const std::uint64_t program_values = state_checksum(game_state);
    const std::uint64_t game_time = watching_time(replay);
    EXPECT_EQ(headless::last_frame()->pixels, last_picture);
    EXPECT_TRUE(headless::shown_boxes().empty());
    EXPECT_EQ(state_checksum(game_state), program_values);
    EXPECT_EQ(key_set_choice[0], 1) << "changed with F1 in the game, kept after the replay";
    // Normal speed: as long as the game took, without the pause.
    EXPECT_GT(game_time, 2600u);
    EXPECT_LT(game_time, 3200u);

    headless::set_key(vk::Tab, true);
    const std::uint64_t fast_time = watching_time(replay);
    headless::set_key(vk::Tab, false);
    EXPECT_LT(fast_time, game_time * 6 / 10);
    EXPECT_TRUE(headless::shown_boxes().empty());

    tap(vk::Escape, headless::now() + 500);
    EXPECT_LT(watching_time(replay), 700u);
    EXPECT_TRUE(headless::shown_boxes().empty()) << "stopped, not out of step";
}

TEST_F(ReplayViewerTest, AReplayThatGoesOutOfStepSaysSo) {
    Replay replay = play_game();
    replay.final_checksum ^= 1;
    watch_replay(replay);
    ASSERT_EQ(headless::shown_boxes().size(), 1u);
    EXPECT_EQ(headless::shown_boxes()[0].text,
              "Diese Wiederholung weicht vom aufgenommenen Spiel ab.");

    replay.final_checksum ^= 1;
    replay.tick_count -= 1; // the game would still run when the inputs end
    use_english = true;
    watch_replay(replay);
    ASSERT_EQ(headless::shown_boxes().size(), 2u);
    EXPECT_EQ(headless::shown_boxes()[1].text,
              "This replay went out of step with the game it recorded.");
}

} // namespace
