// Whole games through the main loop's game loop on the headless clock, with
// scripted keys.
#include "game_test_support.h"

#include <algorithm>
#include <set>

#include "game/controls.h"
#include "game/game_loop.h"
#include "game/session.h"
#include "platform/headless/headless.h"
#include "platform/keyboard.h"

namespace {

namespace vk = platform::vk;
using Kind = OutputEvent::Kind;

// Runs one game with a quit scripted far ahead, so that a game that never
// ends fails instead of hanging.
void run_game_with_deadline(std::uint64_t deadline_ms) {
    headless::post_at(headless::now() + deadline_ms, {platform::MessageKind::Quit, 0});
    run_game();
}

// Two players who drop every new piece at once into rows prepared to take
// it, so that most drops clear rows and push garbage to the other side,
// until a board is too full to prepare and a player tops out.
class GarbageExchange : public RecordingOutput {
  public:
    std::array<int, 2> garbage_sent{};

  protected:
    void on_event() override {
        const OutputEvent& event = events.back();
        if (event.kind == Kind::PlayEffect && event.effect != SoundEffect::Start)
            credit_rows();
        if (event.kind == Kind::RedrawPlayfield)
            for (int i = 0; i < 2; ++i)
                serve(i);
    }

  private:
    // The score when a player's piece was last served: every lock scores,
    // so a new score means a new piece.
    std::array<int, 2> served_at_score{-1, -1};
    std::array<int, 2> rows_seen{};

    void credit_rows() {
        for (int i = 0; i < 2; ++i) {
            garbage_sent[i] += std::max(0, players[i].rows - rows_seen[i] - 1);
            rows_seen[i] = players[i].rows;
        }
    }

    void serve(int i) {
        PlayerRecord& player = players[i];
        if (player.state < state_playing || player.piece.row != -1 ||
            served_at_score[i] == player.score)
            return;
        served_at_score[i] = player.score;
        prepare_landing(player);
        const int drop_key = i == 0 ? vk::Shift : vk::Control;
        // Down for longer than a tick, and up again before the next piece
        // can be served, so that every press is seen.
        hold_key(drop_key, headless::now() + 30, headless::now() + 45);
    }

    // Fills the rows where the piece will land, leaving exactly its cells
    // open; a row is prepared only if the piece can pass through it.
    static void prepare_landing(PlayerRecord& player) {
        int top = 0;
        while (top < board_rows && empty_cells_in_row(player, top) == board_columns)
            ++top;
        const auto cells = piece_cells(player.piece);
        int lowest = 0;
        for (const auto& cell : cells)
            lowest = std::max(lowest, cell.second);
        const int shift = top - 1 - lowest;
        if (shift < 4)
            return;
        std::set<int> passing; // columns of the piece in rows already prepared
        for (int row = lowest; row >= 0; --row) {
            std::set<int> own;
            for (const auto& cell : cells)
                if (cell.second == row)
                    own.insert(cell.first);
            if (own.empty() ||
                !std::includes(own.begin(), own.end(), passing.begin(), passing.end()))
                return;
            for (int column = 0; column < board_columns; ++column)
                player.cell(column, row + shift) = own.count(column) ? 0 : 3;
            passing.insert(own.begin(), own.end());
        }
    }
};

TEST_F(GameTest, TwoPlayersExchangeGarbageUntilOneTopsOut) {
    GarbageExchange exchange;
    set_game_output(&exchange);
    player_count = 2;
    run_game_with_deadline(3'600'000);
    ASSERT_FALSE(quit_requested) << "the game ended by itself";
    EXPECT_GT(exchange.garbage_sent[0], 2);
    EXPECT_GT(exchange.garbage_sent[1], 2);
    const int loser = players[0].state <= 0 ? 0 : 1;
    EXPECT_EQ(players[loser].state, -1) << "the game-over countdown ran out";
    EXPECT_EQ(players[loser].losses, -1);
    for (const PlayerRecord& player : players) {
        if (player.state >= state_playing) {
            EXPECT_EQ(player.losses, 0);
        }
    }
    const auto effects = exchange.effects();
    EXPECT_EQ(effects.front(), SoundEffect::Start);
    EXPECT_NE(std::find(effects.begin(), effects.end(), SoundEffect::Lach), effects.end());
    EXPECT_NE(std::find(effects.begin(), effects.end(), SoundEffect::GameOver), effects.end());
}

// Sets up a board on which the first piece, dropped, sets off a chain of
// two vanishing groups: its colour joins 15 cells to 19, and the fall that
// follows joins two parts of another colour to 18.
class BlobChainSetup : public RecordingOutput {
  protected:
    void on_event() override {
        const OutputEvent& event = events.back();
        if (event.kind != Kind::PlayEffect || event.effect != SoundEffect::Start)
            return;
        PlayerRecord& player = players[0];
        const std::uint8_t own = player.piece.colour;
        const std::uint8_t other = static_cast<std::uint8_t>(own % 7 + 1);
        for (int column = 3; column < 10; ++column)
            player.cell(column, 20) = own;
        for (int column = 3; column < 7; ++column)
            player.cell(column, 21) = player.cell(column, 22) = own;
        for (int column = 7; column < 10; ++column) {
            player.cell(column, 21) = player.cell(column, 22) = other;
            for (int row = 16; row < 20; ++row)
                player.cell(column, row) = other;
        }
        const std::uint64_t now = headless::now();
        hold_key(vk::Control, now + 50, now + 80);
        hold_key(vk::Escape, now + 1000, now + 1100);
    }
};

TEST_F(GameTest, ABlobChainInAWholeGame) {
    BlobChainSetup setup;
    set_game_output(&setup);
    game_mode = GameMode::Blob;
    run_game_with_deadline(600'000);
    ASSERT_FALSE(quit_requested);
    EXPECT_EQ(players[0].rows, 2);
    EXPECT_EQ(players[0].score, 3);
    EXPECT_EQ(filled_cells(players[0]), 0);
    EXPECT_EQ(setup.effects(), (std::vector{SoundEffect::Start, SoundEffect::Wurf}));
}

TEST_F(GameTest, APauseEndedWithEscDoesNotEndTheGame) {
    const std::uint64_t start = headless::now();
    hold_key('P', start + 500, start + 600);
    hold_key(vk::Escape, start + 3000, start + 3100);
    hold_key(vk::Escape, start + 5000, start + 5100);
    run_game_with_deadline(600'000);
    ASSERT_FALSE(quit_requested);
    EXPECT_EQ(output.count(Kind::DrawPaused), 1);
    EXPECT_GE(headless::now(), start + 5000) << "the second Esc ended it";
    EXPECT_EQ(players[0].state, 0);
    EXPECT_GE(players[0].piece.row, 0) << "the piece fell before and after the pause";
}

TEST_F(GameTest, F1AndF2HeldTogetherInAGameChangeTheRightPlayer) {
    player_count = 2;
    const std::uint64_t start = headless::now();
    hold_key(vk::F1, start + 300, start + 400);
    hold_key(vk::F2, start + 300, start + 400);
    hold_key(vk::Escape, start + 1000, start + 1010);
    run_game_with_deadline(600'000);
    ASSERT_FALSE(quit_requested);
    EXPECT_EQ(players[0].control, KeySet::AdsShift);
    EXPECT_EQ(players[1].control, KeySet::ArrowsUp);
    EXPECT_EQ(key_set_choice, (std::array<std::int32_t, 2>{0, 1}));
}

TEST_F(GameTest, NoTicksWhileTheApplicationIsInactive) {
    app_active = 0;
    run_game_with_deadline(5000);
    EXPECT_TRUE(quit_requested) << "the quit message ended the game loop";
    EXPECT_EQ(players[0].piece.row, -1) << "nothing fell";
    EXPECT_EQ(players[0].state, state_playing);
}

} // namespace
