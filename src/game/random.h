#pragma once

#include <cstdint>

// The game's pseudo-random generator: a linear congruential generator with a
// 32-bit state. Every random choice takes game_random() modulo the number of
// choices.
int game_random();
void seed_game_random(std::uint32_t seed);
