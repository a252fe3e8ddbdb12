#pragma once

// The game screen in the back buffer: the background, each player's board as
// tiles whose edges join neighbours of the same colour, the falling pieces,
// the board frames, the status texts, the game-over picture and "PAUSED".
// Every drawing sets screen_dirty.

#include <cstdint>

#include "game/player.h"

// Where the board of the player last given to set_board_geometry lies.
extern std::int32_t cell_size;
extern std::int32_t board_left; // x of column 0
extern std::int32_t board_top;  // y of row 0

// Sides of a cell drawn with an edge: its tile variant. Mask 0 is a cell
// joined on all four sides, 15 a lone one.
constexpr int open_top = 1;
constexpr int open_right = 2;
constexpr int open_bottom = 4;
constexpr int open_left = 8;

// The geometry of a one-player board, as at program start.
void reset_board_geometry();
void set_board_geometry(const PlayerRecord& player);

// The mask of filled board cell (column, row): a side is open at the board's
// edge or where the neighbour holds another colour.
int connection_mask(const PlayerRecord& player, int column, int row);
// The mask of occupied box cell (box_column, box_row) of a falling piece: a
// side is open at the edge of the 4 x 4 box or where the neighbour is free.
int connection_mask(const Piece& piece, int box_column, int box_row);

// The whole screen, for every player.
void redraw_playfield();
// The falling piece's cells on rows 0 and below, as tiles or as empty cells.
void draw_piece(const PlayerRecord& player);
void erase_piece(const PlayerRecord& player);
// Points, level, rows and the key legend (both players' in a two-player game).
void draw_status(const PlayerRecord& player);
// In a network game each machine's player steers with the one-player keys
// and changes them with F1: the two-player legend says so for both boards.
void show_network_legend(bool on);
// The game-over picture over the finished board of `player`. This and
// draw_paused leave screen_dirty alone: the driver presents them itself, and
// the flag would cost a second present in the same tick.
void draw_game_over(const PlayerRecord& player);
// "PAUSED" in the middle of the screen.
void draw_paused();
