#pragma once

#include "app/network_link.h"

// Two-player games over the connection until either player leaves: the host
// the left board, the joiner the right one, each steered with the single
// player's keys; the result screen after each game, and the next game once
// Space was pressed on both sides. The program's own game values are the
// same afterwards as before.
void play_network_games(NetworkLink& link);
