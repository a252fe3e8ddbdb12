#include "game/piece_moves.h"

#include "game/game_output.h"
#include "game/locking.h"
#include "game/player.h"
#include "game/random.h"
#include "game/shapes.h"

namespace {

constexpr int spawn_column = 3;
constexpr int spawn_row = -2;

// Whether `piece` may stand where it is: inside the side walls and above the
// floor, on empty cells. Cells above the board never collide, but the walls
// limit them too.
bool fits(const PlayerRecord& player, const Piece& piece) {
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r) {
            if (!piece.occupied(c, r))
                continue;
            const int column = piece.column + c;
            const int row = piece.row + r;
            if (column < 0 || column >= board_columns || row >= board_rows)
                return false;
            if (row >= 0 && player.cell(column, row) != 0)
                return false;
        }
    return true;
}

// Replaces the falling piece by `moved` when it fits, redrawing it.
bool try_move(PlayerRecord& player, const Piece& moved) {
    if (!fits(player, moved))
        return false;
    game_output().erase_piece(player);
    player.piece = moved;
    game_output().draw_piece(player);
    return true;
}

bool shift(PlayerRecord& player, int columns, int rows) {
    Piece moved = player.piece;
    moved.column += columns;
    moved.row += rows;
    return try_move(player, moved);
}

} // namespace

void spawn_piece(PlayerRecord& player) {
    Piece& piece = player.piece;
    piece.column = spawn_column;
    piece.row = spawn_row;
    const int kind = game_random() % piece_kinds + 1;
    piece.colour = static_cast<std::uint8_t>(kind);
    piece.cells = shape_cells(kind);
    if (game_mode == GameMode::Blob)
        piece.colour = static_cast<std::uint8_t>(game_random() % piece_kinds + 1);
    if (!step_down(player))
        top_out(player);
    game_output().redraw_playfield();
}

bool step_down(PlayerRecord& player) {
    return shift(player, 0, 1);
}

bool move_left(PlayerRecord& player) {
    return shift(player, -1, 0);
}

bool move_right(PlayerRecord& player) {
    return shift(player, 1, 0);
}

bool rotate_piece(PlayerRecord& player) {
    Piece turned = player.piece;
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            turned.cells[c * 4 + r] = player.piece.cells[(3 - r) * 4 + c];
    return try_move(player, turned);
}

void hard_drop(PlayerRecord& player) {
    game_output().erase_piece(player);
    while (step_down(player)) {
    }
    game_output().draw_piece(player);
    if (lock_piece(player) == LockResult::TopOut) {
        top_out(player);
        return;
    }
    spawn_piece(player);
    game_output().play_effect(SoundEffect::Wurf);
}

void fall_step(PlayerRecord& player) {
    if (step_down(player))
        return;
    if (lock_piece(player) == LockResult::TopOut)
        top_out(player);
    else
        spawn_piece(player);
}
