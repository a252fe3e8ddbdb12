#pragma once

#include <array>
#include <cstdint>

constexpr int board_columns = 10;
constexpr int board_rows = 23;
constexpr int board_cells = board_columns * board_rows;

// `state` of a record: above 99 the player is active; 99 means just topped
// out, and the driver counts it down by 25 once per fall period; 0 or less
// ends the game.
constexpr std::int32_t state_playing = 100;
constexpr std::int32_t state_topped_out = 99;
constexpr std::int32_t highest_level = 18;

// The four key sets a player steers with (their keys are in controls.h).
enum class KeySet : std::uint8_t { ArrowsCtrl, ArrowsUp, Wasd, AdsShift };

// The falling piece. Its box of 4 x 4 cells is stored column by column: box
// cell (c, r) is cells[c * 4 + r] and lies on board cell (column + c, row + r).
struct Piece {
    std::int32_t column = 0;
    std::int32_t row = 0;
    std::uint8_t colour = 0;
    std::array<std::uint8_t, 16> cells{};

    bool occupied(int box_column, int box_row) const {
        return cells[box_column * 4 + box_row] != 0;
    }
};

// One player. The board is stored column by column: cell (c, r) is byte
// c * 23 + r, holding 0 for empty or a colour 1 to 7.
struct PlayerRecord {
    std::int32_t index = 0;
    std::int32_t state = 0;
    std::int32_t score = 0;
    std::int32_t rows = 0;
    std::int32_t level = 0;
    std::int32_t losses = 0;
    std::array<std::uint8_t, board_cells> board{};
    Piece piece;
    // Set by each game start; a record never started draws the legend of the
    // second set.
    KeySet control = KeySet::ArrowsUp;

    std::uint8_t& cell(int column, int row) { return board[column * board_rows + row]; }
    std::uint8_t cell(int column, int row) const { return board[column * board_rows + row]; }
};

enum class GameMode : std::uint8_t { Blokit = 0, Blob = 1 };

// Action order of a key latch: move left, move right, rotate, drop.
constexpr int key_actions = 4;

// The members of game_state (game_state.h) under their own names.
extern std::array<PlayerRecord, 2>& players;
extern std::int32_t& player_count;
extern GameMode& game_mode;
extern std::array<std::int32_t, 2>& key_set_choice;
extern std::array<std::array<std::uint8_t, key_actions>, 2>& key_latch;
extern std::int32_t& fall_countdown;
extern std::uint8_t& screen_dirty;
// The clock of the live game: not part of the game's state, as a replay or
// a rolled-back game keeps its own.
extern std::uint32_t last_tick_ms;

// The values the program starts with: no losses, one player, the falling-piece
// mode, the left or single player's latches armed and the right player's not.
void reset_game_values();

// Counts one more level when `rows` has just reached a multiple of 5.
void apply_level_rule(PlayerRecord& player);
