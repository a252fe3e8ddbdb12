#pragma once

#include <cstdint>
#include <optional>

#include "game/input_frame.h"

// A tick runs when more than this many milliseconds have passed since the last.
constexpr unsigned tick_length_ms = 25;
// Ticks from the start to the first automatic fall step, at level 0.
constexpr int first_fall_ticks = 9;

// Prepares the records of a new game, shows the playfield and sets the
// countdown to the first fall step; the generator is seeded with `seed`, or
// with the current time.
void start_game(std::uint32_t seed);
void start_game();

// When more than 25 ms have passed since the last tick: reads the keyboard
// into the tick's inputs and runs the tick with them. Returns those inputs,
// or nothing when no tick was due.
std::optional<InputFrame> game_tick();

// One tick of the game with these inputs: Esc ends the game, F1 and F2
// change key sets, the players' key sets act, finished boards count down
// and the pieces fall when the fall period is over.
void run_tick(const InputFrame& input);

// When the next tick is due (a platform::time_ms() value).
std::uint32_t next_tick_due();
