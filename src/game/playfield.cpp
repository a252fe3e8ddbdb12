#include "game/playfield.h"

#include <cstdio>

#include "game/session.h"
#include "gfx/game_graphics.h"
#include "gfx/sprite.h"
#include "gfx/tile_set.h"

namespace {

constexpr int board_cell_size = 20;
constexpr int board_top_y = 8;
constexpr int one_player_left = 220;
constexpr int two_player_lefts[2] = {70, 370};
constexpr int frame_width = 4;

// Where the game-over picture lies on a finished board.
constexpr int game_over_x = 30;
constexpr int game_over_y = 140;

// A cell's side is open where the neighbour in that direction is not alike.
template <class Alike> int mask_from(Alike alike) {
    int mask = 0;
    if (!alike(0, -1))
        mask |= open_top;
    if (!alike(1, 0))
        mask |= open_right;
    if (!alike(0, 1))
        mask |= open_bottom;
    if (!alike(-1, 0))
        mask |= open_left;
    return mask;
}

// The tile of a filled cell; a colour outside 1 to 7 has none.
const Sprite* cell_tile(int colour, int mask) {
    return colour >= 1 && colour <= 7 ? tile_table[colour][mask].get() : nullptr;
}

void draw_cell(const Sprite* tile, int column, int row) {
    draw_sprite(tile, display.back_buffer, board_left + cell_size * column,
                board_top + cell_size * row);
}

// Calls draw(box_column, box_row) for each occupied cell of the falling
// piece that lies on the board (rows above it are left out).
template <class Draw> void for_each_visible_piece_cell(const PlayerRecord& player, Draw draw) {
    const Piece& piece = player.piece;
    for (int box_column = 0; box_column < 4; ++box_column)
        for (int box_row = 0; box_row < 4; ++box_row)
            if (piece.occupied(box_column, box_row) && piece.row + box_row >= 0)
                draw(box_column, box_row);
}

void draw_board(const PlayerRecord& player) {
    for (int column = 0; column < board_columns; ++column)
        for (int row = 0; row < board_rows; ++row) {
            const int colour = player.cell(column, row);
            const Sprite* tile = colour == 0
                                     ? tile_table[0][0].get()
                                     : cell_tile(colour, connection_mask(player, column, row));
            draw_cell(tile, column, row);
        }
}

void draw_frame() {
    const int board_width = board_columns * cell_size;
    const int board_height = board_rows * cell_size;
    draw_sprite(board_side_sprite.get(), display.back_buffer, board_left - frame_width, board_top);
    draw_sprite(board_side_sprite.get(), display.back_buffer, board_left + board_width, board_top);
    draw_sprite(board_bottom_sprite.get(), display.back_buffer, board_left - frame_width,
                board_top + board_height);
}

void text(const Font& font, int x, int y, const char* line) {
    draw_text(font, display.back_buffer, x, y, line);
}

void number_text(const Font& font, int x, int y, const char* format, std::int32_t value) {
    char line[32];
    std::snprintf(line, sizeof line, format, value);
    text(font, x, y, line);
}

const char* language(const char* english, const char* german) {
    return use_english ? english : german;
}

void draw_one_player_status(const PlayerRecord& player) {
    const Font& font = game_font;
    const int w = font.glyph_width;
    const int h = font.glyph_height;
    if (game_mode == GameMode::Blob)
        text(font, 3 * w, h, "QM-BLOB");
    else
        text(font, 2 * w, h, "QM-BLOKIT");
    number_text(font, w / 4, 3 * h, language("POINTS: %5d", "PUNKTE: %5d"), player.score);
    number_text(font, w / 4, 5 * h, "LEVEL:     %2d", player.level);
    number_text(font, w / 4, 7 * h, language("ROWS:     %3d", "REIHEN:   %3d"), player.rows);
    const int x = board_left + board_columns * cell_size + w;
    text(font, x, h, "CONTROL KEYS");
    text(font, x, 3 * h, "ESC-QUIT");
    text(font, x, 5 * h, "LEFT-LEFT");
    text(font, x, 7 * h, "RIGHT-RIGHT");
    if (player.control == KeySet::ArrowsCtrl) {
        text(font, x, 9 * h, "DOWN-ROTATE");
        text(font, x, 11 * h, "CTRL-DROP");
    } else {
        text(font, x, 9 * h, "UP-ROTATE");
        text(font, x, 11 * h, "DOWN-DROP");
    }
    text(font, x, 13 * h, "F1-CHANGE");
}

// One column of a two-player status: the record's figures, then its keys
// from the top: left, right, drop, rotate, key-set change.
struct KeyLegend {
    const char* left;
    const char* right;
    const char* drop;
    const char* rotate;
    const char* change;
};

void draw_player_column(const Font& font, int x, const PlayerRecord& player,
                        const KeyLegend& keys) {
    const int h = font.glyph_height;
    text(font, x, 2 * h, "PTS:");
    number_text(font, x, 3 * h, "%d", player.score);
    text(font, x, 4 * h, "LVL:");
    number_text(font, x, 5 * h, "%d", player.level);
    text(font, x, 6 * h, "ROWS:");
    number_text(font, x, 7 * h, "%d", player.rows);
    text(font, x, 9 * h, "CTRL");
    text(font, x, 10 * h, keys.left);
    text(font, x, 11 * h, keys.right);
    text(font, x, 12 * h, keys.drop);
    text(font, x, 13 * h, keys.rotate);
    text(font, x, 14 * h, keys.change);
}

bool network_legend = false;

// The one-player keys, for the set a record would use in a local game.
KeyLegend one_player_legend(KeySet set) {
    const bool ctrl = set == KeySet::ArrowsCtrl || set == KeySet::AdsShift;
    return {"LEFT", "RIGHT", ctrl ? "CTRL" : "DOWN", ctrl ? "DOWN" : "UP", "F1"};
}

void draw_two_player_status() {
    // Two boards leave room for narrow columns only: half the advance.
    Font font = game_font;
    font.glyph_width /= 2;
    const int w = font.glyph_width;
    const int h = font.glyph_height;
    const int middle = display.screen_width / 2;
    if (game_mode == GameMode::Blob)
        text(font, middle - 2 * w, h, "BLOB");
    else
        text(font, middle - 3 * w, h, "BLOKIT");
    const bool left_shift = players[0].control == KeySet::AdsShift;
    const KeyLegend left_keys = {"A", "D", left_shift ? "SHFT" : "S", left_shift ? "S" : "W", "F1"};
    draw_player_column(font, w, players[0],
                       network_legend ? one_player_legend(players[0].control) : left_keys);
    KeyLegend right_keys = one_player_legend(players[1].control);
    if (!network_legend)
        right_keys.change = "F2";
    draw_player_column(font, display.screen_width - 6 * w, players[1], right_keys);
}

} // namespace

void show_network_legend(bool on) {
    network_legend = on;
}

std::int32_t cell_size = board_cell_size;
std::int32_t board_left = one_player_left;
std::int32_t board_top = board_top_y;

void reset_board_geometry() {
    cell_size = board_cell_size;
    board_left = one_player_left;
    board_top = board_top_y;
}

void set_board_geometry(const PlayerRecord& player) {
    cell_size = board_cell_size;
    board_top = board_top_y;
    board_left = player_count > 1 ? two_player_lefts[player.index & 1] : one_player_left;
}

int connection_mask(const PlayerRecord& player, int column, int row) {
    const int colour = player.cell(column, row);
    return mask_from([&](int dx, int dy) {
        const int c = column + dx;
        const int r = row + dy;
        return c >= 0 && c < board_columns && r >= 0 && r < board_rows &&
               player.cell(c, r) == colour;
    });
}

int connection_mask(const Piece& piece, int box_column, int box_row) {
    return mask_from([&](int dx, int dy) {
        const int c = box_column + dx;
        const int r = box_row + dy;
        return c >= 0 && c < 4 && r >= 0 && r < 4 && piece.occupied(c, r);
    });
}

void redraw_playfield() {
    copy_screen(display.back_buffer, background_surface);
    for (int i = 0; i < player_count; ++i) {
        const PlayerRecord& player = players[i];
        set_board_geometry(player);
        draw_board(player);
        draw_piece(player);
        draw_status(player);
        draw_frame();
    }
    screen_dirty = 1;
}

void draw_piece(const PlayerRecord& player) {
    set_board_geometry(player);
    const Piece& piece = player.piece;
    for_each_visible_piece_cell(player, [&](int box_column, int box_row) {
        draw_cell(cell_tile(piece.colour, connection_mask(piece, box_column, box_row)),
                  piece.column + box_column, piece.row + box_row);
    });
    screen_dirty = 1;
}

void erase_piece(const PlayerRecord& player) {
    set_board_geometry(player);
    const Piece& piece = player.piece;
    for_each_visible_piece_cell(player, [&](int box_column, int box_row) {
        draw_cell(tile_table[0][0].get(), piece.column + box_column, piece.row + box_row);
    });
    screen_dirty = 1;
}

void draw_status(const PlayerRecord& player) {
    if (player_count > 1)
        draw_two_player_status();
    else
        draw_one_player_status(player);
    screen_dirty = 1;
}

void draw_game_over(const PlayerRecord& player) {
    set_board_geometry(player);
    draw_sprite_keyed(game_over_sprite.get(), display.back_buffer, board_left + game_over_x,
                      board_top + game_over_y);
}

void draw_paused() {
    draw_text(game_font, display.back_buffer, display.screen_width / 2 - 3 * game_font.glyph_width,
              display.screen_height / 2 - game_font.glyph_height / 2, "PAUSED");
}
