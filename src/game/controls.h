#pragma once

#include "game/player.h"

// The four key sets. Each press acts once, at the first poll that sees it;
// the key must be seen up again before it acts again.
void controls_arrows_ctrl(int player); // Left, Right, Down rotates, Ctrl drops
void controls_arrows_up(int player);   // Left, Right, Up rotates, Down drops
void controls_wasd(int player);        // A, D, W rotates, S drops
void controls_ads_shift(int player);   // A, D, S rotates, Shift drops

// The key set record `record` gets at a game start, from key_set_choice.
ControlHandler starting_key_set(int record);

// F1 (one player or left player) and F2 (right player) switch between the
// two sets of that player; waits until the key is up, then redraws.
void check_key_set_change();
