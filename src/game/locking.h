#pragma once

struct PlayerRecord;

enum class LockResult { Done, TopOut };

// Writes the falling piece into the board, scores the lock and removes full
// rows (or resolves the blobs in the blob mode).
LockResult lock_piece(PlayerRecord& player);

// Removes the full rows under the locked piece, scores them, raises the level,
// sends garbage rows to the other player and plays the matching effect.
void clear_full_rows(PlayerRecord& player);

// Pushes the board up by one row and fills the bottom row with random colours
// around one hole. The falling piece stays where it is.
void add_garbage_row(PlayerRecord& player);

// Ends this player's game: the driver counts the state down from here.
void top_out(PlayerRecord& player);
