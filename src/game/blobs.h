#pragma once

#include <array>
#include <cstdint>

#include "game/game_state.h"

// The smallest group of one colour that vanishes.
constexpr int blob_vanish_size = 16;

// The group last collected, each cell once (a member of game_state).
extern GroupList& group_list;

// Lets the filled cells of a column fall to its bottom, keeping their order.
void settle_column(PlayerRecord& player, int column);

// Fills group_list with the cells connected to (column, row) by sides through
// cells of its colour. The board is left as it was.
void collect_group(const PlayerRecord& player, int column, int row);

// After a lock in the blob mode: settles every column and removes groups of
// 16 or more, over and over while cells falling into the holes form new ones.
void resolve_blobs(PlayerRecord& player);
