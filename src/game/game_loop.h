#pragma once

#include <optional>

#include "game/replay.h"

// One game as the main loop plays it: starts it with its sound, then pumps
// window messages and ticks while the application is active, until a player's
// state reaches 0 or a quit is requested. Returns the replay of a game that
// ended, nothing when a quit ended it.
std::optional<Replay> run_game();

// While no player's state has reached 0.
bool game_running();
