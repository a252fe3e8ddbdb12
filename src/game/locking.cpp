#include "game/locking.h"

#include "game/blobs.h"
#include "game/game_output.h"
#include "game/player.h"
#include "game/random.h"
#include "game/shapes.h"

namespace {

bool row_full(const PlayerRecord& player, int row) {
    for (int column = 0; column < board_columns; ++column)
        if (player.cell(column, row) == 0)
            return false;
    return true;
}

// Every row above `row` moves down by one; the top row becomes empty.
void remove_row(PlayerRecord& player, int row) {
    for (int column = 0; column < board_columns; ++column) {
        for (int r = row; r > 0; --r)
            player.cell(column, r) = player.cell(column, r - 1);
        player.cell(column, 0) = 0;
    }
}

void send_garbage_from(const PlayerRecord& sender) {
    for (int i = 0; i < player_count; ++i)
        if (&players[i] != &sender)
            add_garbage_row(players[i]);
}

SoundEffect row_clear_effect(int rows) {
    if (player_count == 2) {
        if (rows == 4)
            return SoundEffect::Tschau;
        return rows > 1 ? SoundEffect::Lach : SoundEffect::Reihen;
    }
    return rows == 4 ? SoundEffect::Vierer : SoundEffect::Reihen;
}

} // namespace

LockResult lock_piece(PlayerRecord& player) {
    const Piece& piece = player.piece;
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r) {
            const int row = piece.row + r;
            if (!piece.occupied(c, r) || row < 0)
                continue;
            std::uint8_t& cell = player.cell(piece.column + c, row);
            if (cell == 0)
                cell = piece.colour;
            else if (piece.row == 0)
                // The board was pushed up under a piece at the very top.
                return LockResult::TopOut;
        }
    if (game_mode == GameMode::Blob) {
        player.score += 2 * (player.level + 1) + 1;
        resolve_blobs(player);
    } else {
        player.score += player.level + 1;
        clear_full_rows(player);
    }
    return LockResult::Done;
}

void clear_full_rows(PlayerRecord& player) {
    int cleared = 0;
    // Top to bottom: removing a row moves only the rows above it.
    for (int k = 0; k < 4; ++k) {
        const int row = player.piece.row + k;
        if (row < 0 || row >= board_rows || !row_full(player, row))
            continue;
        remove_row(player, row);
        if (player_count == 2 && cleared > 0)
            send_garbage_from(player);
        player.rows += 1;
        cleared += 1;
    }
    player.score += 5 * (player.level + 1) * cleared * cleared;
    if (cleared == 0)
        return;
    apply_level_rule(player);
    game_output().play_effect(row_clear_effect(cleared));
}

void add_garbage_row(PlayerRecord& player) {
    for (int column = 0; column < board_columns; ++column)
        for (int row = 1; row < board_rows; ++row)
            player.cell(column, row - 1) = player.cell(column, row);
    const int hole = game_random() % board_columns;
    for (int column = 0; column < board_columns; ++column)
        player.cell(column, board_rows - 1) =
            column == hole ? 0 : static_cast<std::uint8_t>(game_random() % piece_kinds + 1);
}

void top_out(PlayerRecord& player) {
    player.state = state_topped_out;
    player.losses -= 1;
    game_output().play_effect(SoundEffect::GameOver);
}
