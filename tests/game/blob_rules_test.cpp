// The blob mode: loose cells, groups of sixteen, chains and their levels.
#include "game_test_support.h"

#include <set>

#include "game/blobs.h"
#include "game/locking.h"

namespace {

class BlobRulesTest : public GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        game_mode = GameMode::Blob;
        players[0].state = state_playing;
    }

    // `count` cells of `colour` in a snake from the bottom-left corner, along
    // row 22 to the right, then row 21 to the left, and so on.
    static void snake(PlayerRecord& player, int count, std::uint8_t colour) {
        for (int i = 0; i < count; ++i) {
            const int row = 22 - i / board_columns;
            const int offset = i % board_columns;
            const int column = (i / board_columns) % 2 == 0 ? offset : board_columns - 1 - offset;
            player.cell(column, row) = colour;
        }
    }
};

TEST_F(BlobRulesTest, LandedCellsFallToTheBottomOfTheirColumns) {
    PlayerRecord& player = players[0];
    // An S (row 20: columns 4, 5; row 21: columns 3, 4) over two floor
    // cells in columns 4 and 5: its cells in columns 3 and 5 hang over gaps.
    player.piece = make_piece(2, 3, 19);
    player.piece.colour = 1;
    player.cell(4, 22) = 5;
    player.cell(5, 22) = 5;
    ASSERT_EQ(lock_piece(player), LockResult::Done);
    EXPECT_EQ(player.cell(3, 22), 1) << "the cell over the gap fell";
    EXPECT_EQ(player.cell(3, 21), 0);
    EXPECT_EQ(player.cell(4, 21), 1);
    EXPECT_EQ(player.cell(4, 20), 1);
    EXPECT_EQ(player.cell(5, 21), 1);
}

TEST_F(BlobRulesTest, SettlingKeepsTheOrderAndMovesRowZeroToo) {
    PlayerRecord& player = players[0];
    player.cell(2, 0) = 3;
    player.cell(2, 7) = 4;
    player.cell(2, 20) = 5;
    player.cell(2, 22) = 6;
    settle_column(player, 2);
    EXPECT_EQ(player.cell(2, 19), 3);
    EXPECT_EQ(player.cell(2, 20), 4);
    EXPECT_EQ(player.cell(2, 21), 5);
    EXPECT_EQ(player.cell(2, 22), 6);
    EXPECT_EQ(filled_cells(player), 4);
}

TEST_F(BlobRulesTest, FifteenCellsStaySixteenVanish) {
    PlayerRecord& player = players[0];
    snake(player, 15, 4);
    player.cell(5, 20) = 2; // resting on the snake, falls into its hole
    resolve_blobs(player);
    EXPECT_EQ(filled_cells(player), 16);
    EXPECT_EQ(player.rows, 0);

    player.board.fill(0);
    snake(player, 16, 4);
    player.cell(5, 20) = 2;
    resolve_blobs(player);
    EXPECT_EQ(player.rows, 1);
    EXPECT_EQ(filled_cells(player), 1);
    EXPECT_EQ(player.cell(5, 22), 2) << "the cell above fell into the hole";
}

TEST_F(BlobRulesTest, CornersDoNotConnect) {
    PlayerRecord& player = players[0];
    // Two blocks of 8 of one colour touching only at a corner.
    for (int row = 19; row < 23; ++row) {
        player.cell(0, row) = 3;
        player.cell(1, row) = 3;
        player.cell(2, row) = 6;
        player.cell(3, row) = 6;
    }
    for (int row = 15; row < 19; ++row) {
        player.cell(2, row) = 3;
        player.cell(3, row) = 3;
    }
    collect_group(player, 0, 22);
    EXPECT_EQ(group_list.count, 8);
    resolve_blobs(player);
    EXPECT_EQ(filled_cells(player), 24);
    EXPECT_EQ(player.rows, 0);
}

TEST_F(BlobRulesTest, CollectedGroupHoldsEveryCellOnceAndLeavesTheBoard) {
    PlayerRecord& player = players[0];
    player.board.fill(2); // one group of the whole board, full of cycles
    player.cell(9, 0) = 5;
    const auto before = player.board;
    collect_group(player, 4, 11);
    EXPECT_EQ(group_list.count, board_cells - 1);
    std::set<std::pair<int, int>> seen;
    for (int i = 0; i < group_list.count; ++i) {
        const GroupCell& cell = group_list.cells[i];
        EXPECT_TRUE(seen.emplace(cell.column, cell.row).second) << "cell listed twice";
        EXPECT_EQ(player.cell(cell.column, cell.row), 2);
    }
    EXPECT_EQ(player.board, before);
}

TEST_F(BlobRulesTest, AChainCountsEveryGroupAndRaisesTheLevelOnFive) {
    PlayerRecord& player = players[0];
    // Colour 5: rows 21 and 22 of columns 0 to 5 and row 20 of columns 5
    // to 8, 16 cells. Colour 1 in columns 6 to 8: 6 cells under that row 20
    // and 12 cells on it, apart until colour 5 has gone.
    for (int column = 0; column < 6; ++column)
        player.cell(column, 21) = player.cell(column, 22) = 5;
    for (int column = 5; column < 9; ++column)
        player.cell(column, 20) = 5;
    for (int column = 6; column < 9; ++column) {
        player.cell(column, 21) = player.cell(column, 22) = 1;
        for (int row = 16; row < 20; ++row)
            player.cell(column, row) = 1;
    }
    player.rows = 4;
    resolve_blobs(player);
    EXPECT_EQ(player.rows, 6) << "two groups";
    EXPECT_EQ(player.level, 1) << "the fifth group raised the level";
    EXPECT_EQ(filled_cells(player), 0);
}

TEST_F(BlobRulesTest, PointsPerLockAndTheHighestLevel) {
    PlayerRecord& player = players[0];
    player.piece = make_piece(1, 3, 19);
    lock_piece(player);
    EXPECT_EQ(player.score, 3);

    player = PlayerRecord{};
    player.level = 18;
    player.rows = 89;
    snake(player, 16, 2);
    player.piece = make_piece(7, 3, 10);
    player.piece.colour = 4;
    lock_piece(player);
    EXPECT_EQ(player.score, 39);
    EXPECT_EQ(player.rows, 90);
    EXPECT_EQ(player.level, 18);
    EXPECT_TRUE(output.effects().empty()) << "vanishing groups play nothing";
}

TEST_F(BlobRulesTest, NoRowsAreClearedAndNoGarbageIsSent) {
    player_count = 2;
    players[1].state = state_playing;
    PlayerRecord& player = players[0];
    for (int row = 19; row < 23; ++row)
        fill_row(player, row, static_cast<std::uint8_t>(row - 18), {9});
    player.piece = Piece{};
    player.piece.column = 9;
    player.piece.row = 19;
    player.piece.colour = 7;
    player.piece.cells = {1, 1, 1, 1};
    lock_piece(player);
    EXPECT_EQ(filled_cells(player), 40) << "full rows stay";
    EXPECT_EQ(filled_cells(players[1]), 0);
}

} // namespace
