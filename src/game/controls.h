#pragma once

#include <array>

#include "game/input_frame.h"
#include "game/player.h"

// The keys of a set in latch order (move left, move right, rotate, drop):
//   ArrowsCtrl: Left, Right, Down rotates, Ctrl drops
//   ArrowsUp:   Left, Right, Up rotates, Down drops
//   Wasd:       A, D, W rotates, S drops
//   AdsShift:   A, D, S rotates, Shift drops
const std::array<int, key_actions>& key_set_keys(KeySet set);

// Acts on player `player` for its actions down in `input`, in latch order.
// Each press acts once, at the first tick that sees it; the key must be seen
// up again before it acts again.
void poll_key_set(int player, const InputFrame& input);

// The key set record `record` gets at a game start, from key_set_choice.
KeySet starting_key_set(int record);

// The record whose set the F keys of `input` change (F2 the right player in
// a two-player game, else F1 the single or left player), or -1 for none.
int key_set_change_record(const InputFrame& input);

// The set record `record` changes to from its current one.
KeySet changed_key_set(int record);

// Changes the set of the record the F keys name, with the stored choice,
// and redraws.
void change_key_set(const InputFrame& input);
