#include "game/random.h"

#include "game/game_state.h"

int game_random() {
    std::uint32_t& state = game_state.random_state;
    state = state * 1103515245u + 12345u;
    return static_cast<int>((state >> 16) & 32767u);
}

void seed_game_random(std::uint32_t seed) {
    game_state.random_state = seed;
}
