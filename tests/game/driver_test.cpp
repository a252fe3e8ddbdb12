// Game start, the tick and its timing, the game-over countdown, Esc and the
// pause, on the headless clock.
#include "game_test_support.h"

#include "game/controls.h"
#include "game/driver.h"
#include "game/locking.h"
#include "platform/clock.h"
#include "platform/headless/headless.h"
#include "platform/keyboard.h"

namespace {

namespace vk = platform::vk;

class DriverTest : public GameTest {
  protected:
    // What the main loop does before its first tick.
    void begin(int count_of_players) {
        player_count = count_of_players;
        start_game();
        last_tick_ms = platform::time_ms();
        fall_countdown = first_fall_ticks - players[0].level;
    }

    // Ticks until the piece of `player` has moved down `steps` times;
    // returns the tick numbers at which it moved.
    std::vector<int> fall_ticks(int player, int steps) {
        std::vector<int> ticks;
        int row = players[player].piece.row;
        for (int tick = 1; static_cast<int>(ticks.size()) < steps && tick < 1000; ++tick) {
            run_ticks(1);
            if (players[player].piece.row != row)
                ticks.push_back(tick);
            row = players[player].piece.row;
        }
        return ticks;
    }
};

TEST_F(DriverTest, StartPreparesBothRecordsAndKeepsLosses) {
    players[0].losses = -3;
    players[1].score = 1234;
    players[1].cell(0, 0) = 5;
    players[0].score = 99;
    players[0].cell(2, 2) = 1;
    begin(1);
    EXPECT_EQ(players[0].state, state_playing);
    EXPECT_EQ(players[1].state, state_playing) << "set for both records even with one player";
    EXPECT_EQ(players[0].score, 0);
    EXPECT_EQ(players[0].losses, -3);
    EXPECT_EQ(players[0].cell(2, 2), 0);
    EXPECT_EQ(players[0].piece.row, -1);
    EXPECT_EQ(players[0].control, KeySet::ArrowsCtrl);
    EXPECT_EQ(players[1].score, 1234) << "the second record is not played";
    EXPECT_EQ(players[1].cell(0, 0), 5);

    using K = OutputEvent::Kind;
    std::vector<K> tail;
    for (std::size_t i = output.events.size() - 5; i < output.events.size(); ++i)
        tail.push_back(output.events[i].kind);
    EXPECT_EQ(tail, (std::vector{K::RedrawPlayfield, K::PresentFrame, K::RedrawPlayfield,
                                 K::PresentFrame, K::ShowGamePalette}));
}

TEST_F(DriverTest, StartSeedsTheGeneratorWithTheClock) {
    begin(2);
    const Piece first = players[0].piece;
    const Piece second = players[1].piece;
    headless::reset(100000);
    begin(2);
    EXPECT_EQ(players[0].piece.cells, first.cells);
    EXPECT_EQ(players[1].piece.cells, second.cells);
    EXPECT_EQ(players[1].index, 1);
}

TEST_F(DriverTest, TicksComeOnlyAfterMoreThan25Milliseconds) {
    begin(1);
    const int countdown = fall_countdown;
    headless::advance(25);
    game_tick();
    EXPECT_EQ(fall_countdown, countdown) << "25 ms is not enough";
    headless::advance(1);
    game_tick();
    EXPECT_EQ(fall_countdown, countdown - 1);
    game_tick();
    EXPECT_EQ(fall_countdown, countdown - 1) << "never twice within 25 ms";
}

TEST_F(DriverTest, ALateCallRunsOneTickNotSeveral) {
    begin(1);
    const int countdown = fall_countdown;
    headless::advance(1000);
    game_tick();
    game_tick();
    game_tick();
    EXPECT_EQ(fall_countdown, countdown - 1);
    EXPECT_EQ(last_tick_ms, platform::time_ms());
}

TEST_F(DriverTest, TicksWorkAcrossTheClockWrapping) {
    headless::reset(0xFFFFFFFFull - 10);
    begin(1);
    const int countdown = fall_countdown;
    headless::advance(26);
    game_tick();
    EXPECT_EQ(fall_countdown, countdown - 1);
}

TEST_F(DriverTest, FirstFallAfterNineTicksThenEveryThirtyEight) {
    begin(1);
    EXPECT_EQ(fall_ticks(0, 3), (std::vector{9, 47, 85}));
}

TEST_F(DriverTest, BothPlayersFallAtTheSpeedOfTheLeftPlayer) {
    begin(2);
    players[0].level = 3;
    players[1].level = 10;
    run_ticks(9); // first fall step, which reloads 38 - 2 * 3
    const int row0 = players[0].piece.row;
    const int row1 = players[1].piece.row;
    run_ticks(31);
    EXPECT_EQ(players[0].piece.row, row0);
    EXPECT_EQ(players[1].piece.row, row1);
    run_ticks(1);
    EXPECT_EQ(players[0].piece.row, row0 + 1);
    EXPECT_EQ(players[1].piece.row, row1 + 1);
    run_ticks(32);
    EXPECT_EQ(players[0].piece.row, row0 + 2);
    EXPECT_EQ(players[1].piece.row, row1 + 2);
}

TEST_F(DriverTest, ATopOutCountsDownOverFourFallPeriods) {
    begin(1);
    run_ticks(3);
    top_out(players[0]);
    std::vector<int> states;
    std::vector<int> ticks;
    for (int tick = 1; players[0].state > 0 && tick < 400; ++tick) {
        const int before = players[0].state;
        run_ticks(1);
        if (players[0].state != before) {
            states.push_back(players[0].state);
            ticks.push_back(tick);
        }
    }
    EXPECT_EQ(states, (std::vector{74, 49, 24, -1}));
    EXPECT_EQ(ticks, (std::vector{6, 44, 82, 120})) << "when the countdown stands at 1";
    EXPECT_EQ(output.count(OutputEvent::Kind::DrawGameOver), 120) << "shown every tick";
}

TEST_F(DriverTest, AFinishedPlayerIsNotPolledAndDoesNotFall) {
    begin(2);
    top_out(players[1]);
    key_latch[1] = {1, 1, 1, 1};
    const Piece piece = players[1].piece;
    headless::set_key(vk::Left, true);
    headless::set_key(vk::Control, true);
    run_ticks(60);
    EXPECT_EQ(players[1].piece.row, piece.row);
    EXPECT_EQ(players[1].piece.column, piece.column);
    EXPECT_EQ(filled_cells(players[1]), 0);
    EXPECT_GT(players[0].piece.row, -1) << "the other player plays on";
}

TEST_F(DriverTest, KeysArePolledAtTicksSoAQuickTapBetweenThemGoesUnseen) {
    begin(1);
    const std::uint64_t t = headless::now();
    hold_key(vk::Left, t + 3, t + 20);
    run_ticks(1);
    EXPECT_EQ(players[0].piece.column, 3);
    hold_key(vk::Left, t + 30, t + 80);
    run_ticks(2);
    EXPECT_EQ(players[0].piece.column, 2);
}

TEST_F(DriverTest, EscEndsTheGameAtOnce) {
    begin(1);
    headless::set_key(vk::Escape, true);
    headless::release_at(headless::now() + 200, vk::Escape);
    run_ticks(1);
    EXPECT_EQ(players[0].state, 0);
    EXPECT_EQ(players[1].state, 0);
    EXPECT_FALSE(platform::key_is_down(vk::Escape)) << "waited for Esc to come up";
    EXPECT_EQ(output.count(OutputEvent::Kind::DrawGameOver), 1) << "in the same tick";
}

TEST_F(DriverTest, PauseWaitsForAKeyAndEscThereDoesNotEndTheGame) {
    begin(1);
    const std::uint64_t t = headless::now();
    headless::set_key('P', true);
    headless::release_at(t + 100, 'P');
    hold_key(vk::Escape, t + 5000, t + 5100);
    output.events.clear();
    run_ticks(1);
    EXPECT_GE(headless::now(), t + 5100);
    EXPECT_EQ(players[0].state, state_playing);
    ASSERT_GE(output.events.size(), 4u);
    EXPECT_EQ(output.events[0].kind, OutputEvent::Kind::DrawPaused);
    EXPECT_EQ(output.events[1].kind, OutputEvent::Kind::PresentFrame);
    EXPECT_EQ(output.events[2].kind, OutputEvent::Kind::RedrawPlayfield);
    EXPECT_EQ(output.events[3].kind, OutputEvent::Kind::PresentFrame);

    // Space ends a pause too; the countdown is not disturbed by its length.
    const int countdown = fall_countdown;
    headless::set_key('P', true);
    headless::release_at(headless::now() + 30, 'P');
    hold_key(vk::Space, headless::now() + 60000, headless::now() + 60010);
    run_ticks(1);
    EXPECT_EQ(fall_countdown, countdown - 1);
    EXPECT_EQ(players[0].state, state_playing);
}

TEST_F(DriverTest, AnUnpluggedPadPausesTheGameAsPDoes) {
    // Unplugged before the game began: no pause.
    headless::unplug_pad();
    begin(1);
    output.events.clear();
    run_ticks(1);
    EXPECT_EQ(output.count(OutputEvent::Kind::DrawPaused), 0);

    headless::unplug_pad();
    const std::uint64_t t = headless::now();
    hold_key(vk::Space, t + 3000, t + 3100);
    run_ticks(1);
    EXPECT_GE(headless::now(), t + 3100);
    EXPECT_EQ(output.count(OutputEvent::Kind::DrawPaused), 1);
    EXPECT_EQ(players[0].state, state_playing);
}

} // namespace
