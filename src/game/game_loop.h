#pragma once

// One game as the main loop plays it: starts it with its sound, then pumps
// window messages and ticks while the application is active, until a player's
// state reaches 0 or a quit is requested.
void run_game();
