// Locking in the falling-piece mode: points, full rows, levels, garbage rows
// and the effects that go with them.
#include "game_test_support.h"

#include "game/locking.h"
#include "game/piece_moves.h"
#include "game/random.h"

namespace {

class RowRulesTest : public GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        for (int i = 0; i < 2; ++i) {
            players[i].index = i;
            players[i].state = state_playing;
        }
    }

    // `count` rows at the bottom full but for column 9 under a piece that
    // fills exactly that column for those rows.
    static void prepare_rows(PlayerRecord& player, int count) {
        for (int row = 23 - count; row < 23; ++row)
            fill_row(player, row, 3, {9});
        player.piece = Piece{};
        player.piece.column = 9;
        player.piece.row = 19;
        player.piece.colour = 6;
        for (int r = 4 - count; r < 4; ++r)
            player.piece.cells[r] = 1;
    }
};

TEST_F(RowRulesTest, FourRowsAtLevelZeroScore81) {
    prepare_rows(players[0], 4);
    ASSERT_EQ(lock_piece(players[0]), LockResult::Done);
    EXPECT_EQ(players[0].score, 81) << "1 for the lock and 80 for four rows";
    EXPECT_EQ(players[0].rows, 4);
    EXPECT_EQ(filled_cells(players[0]), 0);
    EXPECT_EQ(output.effects(), std::vector{SoundEffect::Vierer});
}

TEST_F(RowRulesTest, PointsGrowWithTheSquareOfTheRowsAndTheLevel) {
    const int expected[5] = {0, 5, 20, 45, 80};
    for (int level : {0, 7}) {
        for (int count = 1; count <= 4; ++count) {
            PlayerRecord& player = players[0];
            player = PlayerRecord{};
            player.level = level;
            player.rows = 1; // no level-up on the way
            prepare_rows(player, count);
            ASSERT_EQ(lock_piece(player), LockResult::Done);
            EXPECT_EQ(player.score, (level + 1) * (1 + expected[count]))
                << count << " rows at level " << level;
            EXPECT_EQ(filled_cells(player), 0);
        }
    }
}

TEST_F(RowRulesTest, RowsAreRemovedWithTheRowsAboveMovingDown) {
    PlayerRecord& player = players[0];
    prepare_rows(player, 2);
    // Rows 21 and 22 are full after the lock; between them nothing else,
    // above them a marker that must end up on row 22.
    player.cell(2, 20) = 5;
    player.cell(7, 18) = 6;
    ASSERT_EQ(lock_piece(player), LockResult::Done);
    EXPECT_EQ(player.cell(2, 22), 5);
    EXPECT_EQ(player.cell(7, 20), 6);
    EXPECT_EQ(filled_cells(player), 2);
}

TEST_F(RowRulesTest, TheLevelRisesWhenRowsLandOnAMultipleOfFive) {
    PlayerRecord& player = players[0];
    player.rows = 4;
    prepare_rows(player, 1);
    lock_piece(player);
    EXPECT_EQ(player.rows, 5);
    EXPECT_EQ(player.level, 1);

    player = PlayerRecord{};
    player.rows = 3;
    prepare_rows(player, 4);
    lock_piece(player);
    EXPECT_EQ(player.rows, 7);
    EXPECT_EQ(player.level, 0) << "passing 5 without landing on it raises nothing";

    player = PlayerRecord{};
    player.rows = 94;
    player.level = 18;
    prepare_rows(player, 1);
    lock_piece(player);
    EXPECT_EQ(player.rows, 95);
    EXPECT_EQ(player.level, 18) << "18 is the highest level";
}

TEST_F(RowRulesTest, EffectsFollowTheRowsAndThePlayerCount) {
    using E = SoundEffect;
    const std::vector<E> one_player = {E::Reihen, E::Reihen, E::Reihen, E::Vierer};
    const std::vector<E> two_players = {E::Reihen, E::Lach, E::Lach, E::Tschau};
    for (int count_of_players : {1, 2}) {
        player_count = count_of_players;
        for (int count = 1; count <= 4; ++count) {
            output.events.clear();
            players[0].board.fill(0);
            prepare_rows(players[0], count);
            lock_piece(players[0]);
            const auto& table = count_of_players == 1 ? one_player : two_players;
            EXPECT_EQ(output.effects(), std::vector{table[count - 1]})
                << count << " rows, " << count_of_players << " players";
        }
    }
    output.events.clear();
    players[0].board.fill(0);
    players[0].piece = make_piece(1, 3, 19);
    lock_piece(players[0]);
    EXPECT_TRUE(output.effects().empty()) << "a lock without rows is silent";
}

TEST_F(RowRulesTest, TwoPlayersSendOneGarbageRowLessThanTheRowsCleared) {
    player_count = 2;
    for (int count = 1; count <= 4; ++count) {
        players[0].board.fill(0);
        players[1].board.fill(0);
        players[1].cell(0, 22) = 7;
        prepare_rows(players[0], count);
        lock_piece(players[0]);
        const int garbage = count - 1;
        EXPECT_EQ(filled_cells(players[1]), 1 + 9 * garbage) << count << " rows";
        EXPECT_EQ(players[1].cell(0, 22 - garbage), 7) << "the old board is pushed up";
    }
    // Garbage goes to the other player whatever its state.
    players[1].state = 24;
    players[1].board.fill(0);
    prepare_rows(players[0], 4);
    lock_piece(players[0]);
    EXPECT_EQ(filled_cells(players[1]), 27);

    player_count = 1;
    players[1].board.fill(0);
    prepare_rows(players[0], 4);
    lock_piece(players[0]);
    EXPECT_EQ(filled_cells(players[1]), 0) << "one player sends nothing";
}

TEST_F(RowRulesTest, AGarbageRowHasOneHoleAndColoursOneToSeven) {
    PlayerRecord& player = players[1];
    player.cell(4, 0) = 2; // lost over the top
    player.cell(4, 22) = 6;
    player.piece = make_piece(1, 3, 5);
    const Piece before = player.piece;
    add_garbage_row(player);
    EXPECT_EQ(player.cell(4, 0), 0);
    EXPECT_EQ(player.cell(4, 21), 6);
    EXPECT_EQ(filled_cells(player), 10);
    for (std::uint32_t seed = 1; seed <= 200; ++seed) {
        seed_game_random(seed);
        const int hole = game_random() % 10;
        seed_game_random(seed);
        add_garbage_row(player);
        EXPECT_EQ(player.cell(hole, 22), 0);
        EXPECT_EQ(empty_cells_in_row(player, 22), 1);
        for (int column = 0; column < board_columns; ++column)
            EXPECT_LE(player.cell(column, 22), 7);
    }
    EXPECT_EQ(player.piece.row, before.row) << "the falling piece does not move";
    EXPECT_TRUE(output.events.empty()) << "nothing is drawn here";
}

TEST_F(RowRulesTest, LockDropsCellsAboveTheBoard) {
    PlayerRecord& player = players[0];
    // A vertical bar in column 1 reaching from row -2 to row 1.
    player.piece = Piece{};
    player.piece.column = 1;
    player.piece.row = -2;
    player.piece.colour = 6;
    player.piece.cells = {1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    ASSERT_EQ(lock_piece(player), LockResult::Done);
    EXPECT_EQ(filled_cells(player), 2);
    EXPECT_EQ(player.cell(1, 0), 6);
    EXPECT_EQ(player.cell(1, 1), 6);
    EXPECT_EQ(player.cell(0, 21), 0) << "no cell lands in the column to the left";
    EXPECT_EQ(player.cell(0, 22), 0);
    EXPECT_EQ(player.score, 1);
}

TEST_F(RowRulesTest, BoardPushedUnderAPieceAtRowZeroTopsOut) {
    PlayerRecord& player = players[0];
    player.piece = make_piece(1, 3, 0); // square on rows 1 and 2
    player.cell(5, 1) = 4;
    ASSERT_EQ(lock_piece(player), LockResult::TopOut);
    EXPECT_EQ(player.cell(4, 1), 1) << "cells written before the clash stay";
    EXPECT_EQ(player.cell(4, 2), 1);
    EXPECT_EQ(player.cell(5, 1), 4);
    EXPECT_EQ(player.cell(5, 2), 0) << "the lock stops at the clash";
    EXPECT_EQ(player.score, 0);

    // Elsewhere an overlapped cell is just not written.
    player.board.fill(0);
    player.piece = make_piece(1, 3, 10);
    player.cell(5, 11) = 4;
    ASSERT_EQ(lock_piece(player), LockResult::Done);
    EXPECT_EQ(player.cell(5, 11), 4);
    EXPECT_EQ(filled_cells(player), 4);
    EXPECT_EQ(player.score, 1);
}

TEST_F(RowRulesTest, HardDropLocksSpawnsAndThenPlaysWurf) {
    PlayerRecord& player = players[0];
    seed_game_random(3);
    player.piece = make_piece(1, 3, -1);
    hard_drop(player);
    EXPECT_EQ(player.cell(4, 22), 1);
    EXPECT_EQ(player.cell(5, 21), 1);
    EXPECT_EQ(player.piece.row, -1) << "the next piece came in";
    EXPECT_EQ(player.score, 1);
    ASSERT_GE(output.events.size(), 2u);
    EXPECT_EQ(output.events.back().effect, SoundEffect::Wurf);
    EXPECT_EQ(output.events[output.events.size() - 2].kind, OutputEvent::Kind::RedrawPlayfield);

    // A drop whose next piece cannot come in plays GameOver, then Wurf.
    output.events.clear();
    player.board.fill(0);
    for (int row = 2; row < 23; ++row)
        fill_row(player, row, 2, {0});
    player.piece = make_piece(1, 3, -1);
    hard_drop(player);
    EXPECT_EQ(player.state, state_topped_out);
    EXPECT_EQ(output.effects(), (std::vector{SoundEffect::GameOver, SoundEffect::Wurf}));
}

TEST_F(RowRulesTest, TopOutCountsALossAndPlaysGameOver) {
    players[1].losses = -2;
    top_out(players[1]);
    EXPECT_EQ(players[1].state, state_topped_out);
    EXPECT_EQ(players[1].losses, -3);
    EXPECT_EQ(output.effects(), std::vector{SoundEffect::GameOver});
}

} // namespace
