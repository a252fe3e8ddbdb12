// Many short games with random keys in both modes, with one and two players,
// checking after every tick and at every point where the rules show
// something that the boards and counters stay sound.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "game/driver.h"
#include "game/game_output.h"
#include "game/player.h"
#include "game/session.h"
#include "platform/clock.h"
#include "platform/headless/headless.h"
#include "platform/keyboard.h"

namespace {

namespace vk = platform::vk;

constexpr int game_count = 10000;

int filled(const PlayerRecord& player) {
    int count = 0;
    for (std::uint8_t cell : player.board)
        count += cell != 0;
    return count;
}

// Cells of the piece on the board that were empty, so a lock can fill them.
int fillable_cells(const PlayerRecord& player) {
    int count = 0;
    const Piece& piece = player.piece;
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            count += piece.occupied(c, r) && piece.row + r >= 0 &&
                     player.cell(piece.column + c, piece.row + r) == 0;
    return count;
}

bool colours_valid(const PlayerRecord& player) {
    return std::all_of(player.board.begin(), player.board.end(),
                       [](std::uint8_t cell) { return cell <= 7; });
}

bool columns_settled(const PlayerRecord& player) {
    for (int column = 0; column < board_columns; ++column)
        for (int row = 1; row < board_rows; ++row)
            if (player.cell(column, row - 1) != 0 && player.cell(column, row) == 0)
                return false;
    return true;
}

// Between two outputs at most one piece has locked, and every lock is
// followed by an output (the spawn's redraw, an effect or the top-out's
// GameOver). So comparing the records with those at the previous output
// shows each lock on its own and what it did to both boards.
class LockChecker : public GameOutput {
  public:
    // Checks from now on, against the records as they stand.
    void arm() {
        before = players;
        armed = true;
    }
    // Stops checking, while a game is set up.
    void disarm() { armed = false; }

    void erase_piece(const PlayerRecord&) override { check(); }
    void draw_piece(const PlayerRecord&) override { check(); }
    void redraw_playfield() override { check(); }
    void play_effect(SoundEffect) override { check(); }

  private:
    std::array<PlayerRecord, 2> before;
    bool armed = false;

    void check() {
        if (!armed)
            return;
        for (int i = 0; i < player_count; ++i) {
            const PlayerRecord& now = players[i];
            const PlayerRecord& then = before[i];
            // A lock that tops out scores nothing but may have written cells.
            const bool topped_out = then.state >= state_playing && now.state < state_playing;
            if (now.score != then.score) {
                check_lock(then, now);
            } else if (topped_out) {
                ASSERT_TRUE(colours_valid(now));
            } else if (!received_garbage(i)) {
                ASSERT_EQ(now.board, then.board) << "a board changed without a lock";
            }
        }
        before = players;
    }

    void check_lock(const PlayerRecord& then, const PlayerRecord& now) {
        ASSERT_TRUE(colours_valid(now));
        const int written = fillable_cells(then);
        const int removed = filled(then) + written - filled(now);
        const int groups = now.rows - then.rows;
        if (game_mode == GameMode::Blokit) {
            ASSERT_EQ(removed, 10 * groups)
                << "cells written must be the piece's cells on the board";
        } else {
            ASSERT_TRUE(columns_settled(now));
            ASSERT_GE(removed, blob_size * groups);
            if (groups == 0) {
                ASSERT_EQ(removed, 0);
            }
        }
    }

    static constexpr int blob_size = 16;

    // Checks the garbage the other player's lock pushed into board `i`.
    bool received_garbage(int i) {
        const int sender = 1 - i;
        if (player_count != 2 || game_mode != GameMode::Blokit)
            return false;
        const int rows = players[sender].rows - before[sender].rows - 1;
        if (rows <= 0)
            return false;
        const PlayerRecord& now = players[i];
        const PlayerRecord& then = before[i];
        EXPECT_TRUE(colours_valid(now));
        for (int column = 0; column < board_columns; ++column)
            for (int row = 0; row + rows < board_rows; ++row)
                EXPECT_EQ(now.cell(column, row), then.cell(column, row + rows)) << "pushed up";
        for (int row = board_rows - rows; row < board_rows; ++row) {
            int holes = 0;
            for (int column = 0; column < board_columns; ++column)
                holes += now.cell(column, row) == 0;
            EXPECT_EQ(holes, 1) << "a garbage row has exactly one hole";
        }
        return true;
    }
};

bool piece_inside_walls_and_floor(const Piece& piece) {
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            if (piece.occupied(c, r) &&
                (piece.column + c < 0 || piece.column + c >= board_columns ||
                 piece.row + r >= board_rows))
                return false;
    return true;
}

struct Counters {
    std::int32_t score;
    std::int32_t rows;
};

// One assertion a record, so that the check stays cheap under the sanitizers.
// The colours of the cells are checked whenever a board changes (above).
void check_tick(const std::array<Counters, 2>& previous) {
    for (int i = 0; i < 2; ++i) {
        const PlayerRecord& player = players[i];
        ASSERT_TRUE(player.level >= 0 && player.level <= highest_level &&
                    player.score >= previous[i].score && player.rows >= previous[i].rows &&
                    piece_inside_walls_and_floor(player.piece))
            << "record " << i << ": level " << player.level << ", score " << previous[i].score
            << " -> " << player.score << ", rows " << previous[i].rows << " -> " << player.rows
            << ", piece at " << player.piece.column << ", " << player.piece.row;
    }
    ASSERT_TRUE(fall_countdown >= 1 && fall_countdown <= 38) << fall_countdown;
}

constexpr int moving_keys[] = {vk::Left, vk::Right, vk::Up, 'A', 'D', 'W'};
// The drop keys of the four sets (Down and S also rotate in two of them).
constexpr int dropping_keys[] = {vk::Down, vk::Control, vk::Shift, 'S'};

// A game part played: any level and count of rows, and a board filled up to
// 14 rows high, so that short games still clear rows, send garbage, make
// groups vanish and run at every speed. Falling-piece boards get full rows
// but for a well in one of the middle columns, where dropped pieces land;
// blob boards get settled columns mostly of one colour, which make groups
// big enough to vanish and leave the other colour to fall.
void random_position(PlayerRecord& player, std::mt19937& random) {
    player.level = static_cast<std::int32_t>(random() % (highest_level + 1));
    player.rows = static_cast<std::int32_t>(random() % 100);
    const int height = static_cast<int>(random() % 15);
    const bool blob = game_mode == GameMode::Blob;
    const int well = 3 + static_cast<int>(random() % 4);
    for (int column = 0; column < board_columns; ++column) {
        const int column_height = blob ? static_cast<int>(random() % (height + 1)) : height;
        for (int row = board_rows - column_height; row < board_rows; ++row) {
            const auto colour = blob ? 1 + (random() % 10 < 3) : 1 + random() % 7;
            player.cell(column, row) =
                column == well && !blob ? 0 : static_cast<std::uint8_t>(colour);
        }
    }
}

// Presses a key through the script and lets it go after the next tick has
// seen it.
void tap(int key, std::uint64_t down_ms = 40) {
    headless::press_at(headless::now() + 1, key);
    headless::release_at(headless::now() + 1 + down_ms, key);
}

// One tick's worth of random key changes. Keys whose handling waits for
// their release are pressed through the script, with their release.
void random_keys(std::mt19937& random) {
    // Keys change often, and the drop keys most often, so that pieces are
    // dropped after a few ticks and games stay short.
    for (int key : moving_keys)
        if (random() % 2 == 0)
            headless::set_key(key, !platform::key_is_down(key));
    for (int key : dropping_keys)
        if (random() % 4 != 0)
            headless::set_key(key, !platform::key_is_down(key));
    switch (random() % 600) {
    case 0:
        tap(vk::F1);
        break;
    case 1:
        tap(vk::F2);
        break;
    case 2:
        tap('P');
        headless::press_at(headless::now() + 60, vk::Space);
        headless::release_at(headless::now() + 80, vk::Space);
        break;
    default:
        break;
    }
}

TEST(RandomGames, RecordsStaySoundThroughManyGames) {
    LockChecker checker;
    set_game_output(&checker);
    std::mt19937 random(20261208);
    long ticks = 0;
    for (int game = 0; game < game_count && !testing::Test::HasFatalFailure(); ++game) {
        headless::reset(random());
        reset_game_values();
        game_mode = game % 2 ? GameMode::Blob : GameMode::Blokit;
        player_count = game / 2 % 2 + 1;
        key_set_choice = {static_cast<std::int32_t>(random() % 2),
                          static_cast<std::int32_t>(random() % 2)};
        checker.disarm();
        start_game();
        for (int i = 0; i < player_count; ++i)
            random_position(players[i], random);
        checker.arm();
        last_tick_ms = platform::time_ms();
        fall_countdown = first_fall_ticks;
        // Most games end with Esc soon after a top-out; one in four runs the
        // game-over countdown to its end, in every mode and player count.
        const bool quit_after_top_out = game / 4 % 4 != 0;
        while (players[0].state > 0 && players[1].state > 0) {
            const std::array<Counters, 2> previous = {Counters{players[0].score, players[0].rows},
                                                      Counters{players[1].score, players[1].rows}};
            random_keys(random);
            if (quit_after_top_out &&
                (players[0].state < state_playing || players[1].state < state_playing))
                tap(vk::Escape);
            headless::advance(tick_length_ms + 1);
            game_tick();
            ++ticks;
            check_tick(previous);
            if (testing::Test::HasFatalFailure()) {
                ADD_FAILURE() << "game " << game << " after " << ticks << " ticks";
                break;
            }
        }
    }
    set_game_output(nullptr);
    RecordProperty("ticks", static_cast<int>(ticks));
    std::printf("%d games, %ld ticks\n", game_count, ticks);
}

} // namespace
