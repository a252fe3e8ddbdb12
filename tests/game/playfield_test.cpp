#include "game/playfield.h"

#include <gtest/gtest.h>

#include <string>

#include "app/assets.h"
#include "app/loaded_assets.h"
#include "game/controls.h"
#include "game/session.h"
#include "gfx/font.h"
#include "gfx/sprite.h"
#include "gfx/tile_set.h"

namespace {

PlayerRecord empty_record(int index) {
    PlayerRecord player;
    player.index = index;
    return player;
}

// A box holding only the listed cells.
Piece box_piece(std::initializer_list<std::pair<int, int>> cells, int column, int row,
                std::uint8_t colour) {
    Piece piece;
    piece.column = column;
    piece.row = row;
    piece.colour = colour;
    for (auto [c, r] : cells)
        piece.cells[c * 4 + r] = 1;
    return piece;
}

TEST(ConnectionMask, BoardCellsJoinOnlyLikeNeighboursInsideTheBoard) {
    PlayerRecord player = empty_record(0);
    player.cell(4, 10) = 3; // alone
    EXPECT_EQ(connection_mask(player, 4, 10), 15);

    for (int column = 2; column <= 4; ++column)
        player.cell(column, 5) = 2; // a run of three
    EXPECT_EQ(connection_mask(player, 3, 5), open_top | open_bottom);
    EXPECT_EQ(connection_mask(player, 2, 5), 13);
    EXPECT_EQ(connection_mask(player, 4, 5), 7);

    player.cell(0, 20) = 6; // column 0, like cell to the right only
    player.cell(1, 20) = 6;
    EXPECT_EQ(connection_mask(player, 0, 20), 13);

    // The board's edges are open sides even where every cell is alike.
    player.board.fill(4);
    EXPECT_EQ(connection_mask(player, 0, 0), open_top | open_left);
    EXPECT_EQ(connection_mask(player, 9, 22), open_right | open_bottom);
    EXPECT_EQ(connection_mask(player, 5, 11), 0);
}

TEST(ConnectionMask, DifferentColoursSideBySideBothShowTheSharedEdge) {
    PlayerRecord player = empty_record(0);
    player.cell(4, 10) = 1;
    player.cell(5, 10) = 2;
    EXPECT_EQ(connection_mask(player, 4, 10), 15);
    EXPECT_EQ(connection_mask(player, 5, 10), 15);
    player.cell(5, 10) = 1;
    EXPECT_EQ(connection_mask(player, 4, 10) & open_right, 0);
    EXPECT_EQ(connection_mask(player, 5, 10) & open_left, 0);
}

TEST(ConnectionMask, FallingPieceJoinsWithinItsBoxOnly) {
    const Piece square = box_piece({{1, 1}, {2, 1}, {1, 2}, {2, 2}}, 3, 0, 4);
    EXPECT_EQ(connection_mask(square, 1, 1), 9);
    EXPECT_EQ(connection_mask(square, 2, 1), 3);
    EXPECT_EQ(connection_mask(square, 1, 2), 12);
    EXPECT_EQ(connection_mask(square, 2, 2), 6);

    // A bar along the box's edge: its ends are open at the box's edge.
    const Piece bar = box_piece({{0, 3}, {1, 3}, {2, 3}, {3, 3}}, 3, 0, 1);
    EXPECT_EQ(connection_mask(bar, 0, 3), open_top | open_bottom | open_left);
    EXPECT_EQ(connection_mask(bar, 3, 3), open_top | open_bottom | open_right);
}

TEST(BoardGeometry, FollowsPlayerCountAndIndex) {
    player_count = 1;
    set_board_geometry(empty_record(0));
    EXPECT_EQ(board_left, 220);
    EXPECT_EQ(board_top, 8);
    EXPECT_EQ(cell_size, 20);
    player_count = 2;
    set_board_geometry(empty_record(0));
    EXPECT_EQ(board_left, 70);
    set_board_geometry(empty_record(1));
    EXPECT_EQ(board_left, 370);
    player_count = 1;
}

class PlayfieldDrawing : public LoadedAssetsTest {
  protected:
    // Whether board cell (column, row) of `player` shows `tile`.
    static bool cell_shows(const PlayerRecord& player, int column, int row, const Sprite* tile) {
        set_board_geometry(player);
        return tile && same_block(display.back_buffer, board_left + 20 * column,
                                  board_top + 20 * row, tile->surface, 0, 0, 20, 20);
    }

    // Whether `text` stands at (x, y) with the given advance, over the background.
    static bool text_shows(int x, int y, const char* text, int advance) {
        Surface expected;
        display.direct_draw->create_surface(640, 480, expected);
        copy_screen(expected, background_surface);
        Font font = game_font;
        font.glyph_width = advance;
        draw_text(font, expected, x, y, text);
        const int width = advance * int(std::string(text).size());
        return same_block(display.back_buffer, x, y, expected, x, y, width, 14);
    }

    struct PlacedText {
        int x;
        int y;
        const char* text;
    };
    static void expect_texts(std::initializer_list<PlacedText> texts, int advance) {
        for (const PlacedText& placed : texts)
            EXPECT_TRUE(text_shows(placed.x, placed.y, placed.text, advance))
                << placed.text << " at " << placed.x << ", " << placed.y;
    }
};

TEST_F(PlayfieldDrawing, AssetsAreThereToDrawWith) {
    ASSERT_TRUE(background_surface);
    ASSERT_TRUE(game_font.surface);
    EXPECT_EQ(game_font.glyph_width, 16);
    EXPECT_EQ(game_font.glyph_height, 14);
    ASSERT_TRUE(tile_table[0][0] && tile_table[0][0]->surface);
    // The tiles differ, or the tests below could not tell them apart.
    EXPECT_FALSE(
        same_block(tile_table[1][15]->surface, 0, 0, tile_table[1][0]->surface, 0, 0, 20, 20));
    EXPECT_FALSE(
        same_block(tile_table[1][15]->surface, 0, 0, tile_table[2][15]->surface, 0, 0, 20, 20));
}

TEST_F(PlayfieldDrawing, RedrawShowsBoardCellsPieceAndFrameAndMarksTheScreen) {
    PlayerRecord& player = players[0];
    player.index = 0;
    player.cell(0, 22) = 5;
    player.cell(1, 22) = 5;
    player.cell(2, 22) = 2;
    player.piece = box_piece({{1, 1}, {2, 1}, {1, 2}, {2, 2}}, 3, 4, 4);
    player.control = KeySet::ArrowsCtrl;
    screen_dirty = 0;
    redraw_playfield();
    EXPECT_EQ(screen_dirty, 1);

    EXPECT_TRUE(cell_shows(player, 0, 22, tile_table[5][open_top | open_bottom | open_left].get()));
    EXPECT_TRUE(
        cell_shows(player, 1, 22, tile_table[5][open_top | open_bottom | open_right].get()));
    EXPECT_TRUE(cell_shows(player, 2, 22, tile_table[2][15].get()));
    EXPECT_TRUE(cell_shows(player, 7, 10, tile_table[0][0].get()));
    EXPECT_TRUE(cell_shows(player, 4, 5, tile_table[4][9].get()));
    EXPECT_TRUE(cell_shows(player, 5, 5, tile_table[4][3].get()));
    EXPECT_TRUE(cell_shows(player, 4, 6, tile_table[4][12].get()));
    EXPECT_TRUE(cell_shows(player, 5, 6, tile_table[4][6].get()));
    EXPECT_TRUE(same_block(display.back_buffer, 216, 8, board_side_sprite->surface, 0, 0, 4, 460));
    EXPECT_TRUE(same_block(display.back_buffer, 420, 8, board_side_sprite->surface, 0, 0, 4, 460));
    EXPECT_TRUE(
        same_block(display.back_buffer, 216, 468, board_bottom_sprite->surface, 0, 0, 208, 4));
    // Outside the boards and texts the background shows.
    EXPECT_TRUE(same_block(display.back_buffer, 0, 300, background_surface, 0, 300, 200, 180));
}

TEST_F(PlayfieldDrawing, PieceAboveTheBoardShowsOnlyRowsZeroAndBelow) {
    PlayerRecord& player = players[0];
    redraw_playfield();
    Surface before;
    display.direct_draw->create_surface(640, 480, before);
    copy_screen(before, display.back_buffer);

    // A vertical bar with two cells above the board.
    player.piece = box_piece({{1, 0}, {1, 1}, {1, 2}, {1, 3}}, 4, -2, 3);
    screen_dirty = 0;
    draw_piece(player);
    EXPECT_EQ(screen_dirty, 1);
    EXPECT_TRUE(cell_shows(player, 5, 0, tile_table[3][open_left | open_right].get()));
    EXPECT_TRUE(
        cell_shows(player, 5, 1, tile_table[3][open_left | open_right | open_bottom].get()));
    // Nothing else changed.
    EXPECT_TRUE(same_block(display.back_buffer, 0, 0, before, 0, 0, 640, 8));
    EXPECT_TRUE(same_block(display.back_buffer, 0, 48, before, 0, 48, 640, 432));

    screen_dirty = 0;
    erase_piece(player);
    EXPECT_EQ(screen_dirty, 1);
    EXPECT_TRUE(same_block(display.back_buffer, 0, 0, before, 0, 0, 640, 480));
}

TEST_F(PlayfieldDrawing, OnePlayerStatusFollowsLanguageAndKeySet) {
    PlayerRecord& player = players[0];
    player.score = 1234;
    player.level = 3;
    player.rows = 17;
    player.control = KeySet::ArrowsCtrl;
    use_english = true;
    redraw_playfield();
    expect_golden_screen("playfield_one_player_en");
    expect_texts({{32, 14, "QM-BLOKIT"},
                  {4, 42, "POINTS:  1234"},
                  {4, 70, "LEVEL:      3"},
                  {4, 98, "ROWS:      17"},
                  {436, 126, "DOWN-ROTATE"},
                  {436, 154, "CTRL-DROP"},
                  {436, 182, "F1-CHANGE"}},
                 16);

    use_english = false;
    game_mode = GameMode::Blob;
    player.control = KeySet::ArrowsUp;
    redraw_playfield();
    expect_golden_screen("playfield_one_player_de_blob");
    expect_texts({{48, 14, "QM-BLOB"},
                  {4, 42, "PUNKTE:  1234"},
                  {4, 98, "REIHEN:    17"},
                  {436, 126, "UP-ROTATE"},
                  {436, 154, "DOWN-DROP"}},
                 16);
    EXPECT_FALSE(text_shows(436, 154, "CTRL-DROP", 16));
}

TEST_F(PlayfieldDrawing, TwoPlayersShowBothKeyColumnsAtHalfAdvance) {
    player_count = 2;
    for (int i = 0; i < 2; ++i) {
        players[i].index = i;
        players[i].piece = box_piece({{1, 1}, {2, 1}, {1, 2}, {2, 2}}, 3, 2, std::uint8_t(2 + i));
    }
    players[0].control = KeySet::AdsShift;
    players[1].control = KeySet::ArrowsUp;
    players[0].score = 40;
    players[1].rows = 12;
    players[1].cell(9, 22) = 7;
    redraw_playfield();
    expect_golden_screen("playfield_two_players");
    EXPECT_EQ(game_font.glyph_width, 16);
    expect_texts({{296, 14, "BLOKIT"},
                  {8, 42, "40"},
                  {8, 140, "A"},
                  {8, 154, "D"},
                  {8, 168, "SHFT"},
                  {8, 182, "S"},
                  {8, 196, "F1"},
                  {592, 98, "12"},
                  {592, 140, "LEFT"},
                  {592, 154, "RIGHT"},
                  {592, 168, "DOWN"},
                  {592, 182, "UP"},
                  {592, 196, "F2"}},
                 8);
    EXPECT_TRUE(cell_shows(players[0], 4, 3, tile_table[2][9].get()));
    EXPECT_TRUE(cell_shows(players[1], 5, 4, tile_table[3][6].get()));
    EXPECT_TRUE(cell_shows(players[1], 9, 22, tile_table[7][15].get()));
    EXPECT_TRUE(same_block(display.back_buffer, 66, 8, board_side_sprite->surface, 0, 0, 4, 460));
    EXPECT_TRUE(same_block(display.back_buffer, 570, 8, board_side_sprite->surface, 0, 0, 4, 460));

    players[0].control = KeySet::Wasd;
    players[1].control = KeySet::ArrowsCtrl;
    redraw_playfield();
    expect_texts({{8, 168, "S"}, {8, 182, "W"}, {592, 168, "CTRL"}, {592, 182, "DOWN"}}, 8);
    EXPECT_FALSE(text_shows(592, 182, "UP", 8));
}

} // namespace
