#pragma once

struct PlayerRecord;

// Brings in a new piece at the top; tops the player out when it cannot take
// its first step down.
void spawn_piece(PlayerRecord& player);

// One row down; false (and nothing changed) when blocked.
bool step_down(PlayerRecord& player);

// One step if the piece fits there; false when refused.
bool move_left(PlayerRecord& player);
bool move_right(PlayerRecord& player);
// A quarter turn counter-clockwise about the 4 x 4 box, without kicks.
bool rotate_piece(PlayerRecord& player);

// Drops the piece all the way, locks it and brings in the next one.
void hard_drop(PlayerRecord& player);

// The automatic step of one fall period: down one row, or lock and go on.
void fall_step(PlayerRecord& player);
