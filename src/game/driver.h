#pragma once

#include <cstdint>

// A tick runs when more than this many milliseconds have passed since the last.
constexpr unsigned tick_length_ms = 25;
// Ticks from the start to the first automatic fall step, at level 0.
constexpr int first_fall_ticks = 9;

// Prepares the records of a new game and shows the playfield.
void start_game();

// Runs one tick when more than 25 ms have passed since the last one: the game
// keys, the players' key sets, the game-over countdown and the fall steps.
void game_tick();

// When the next tick is due (a platform::time_ms() value).
std::uint32_t next_tick_due();

// Esc ends the game, P pauses it, F1 and F2 change key sets.
void check_game_keys();
