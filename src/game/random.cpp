#include "game/random.h"

namespace {
std::uint32_t random_state = 0;
}

int game_random() {
    random_state = random_state * 1103515245u + 12345u;
    return static_cast<int>((random_state >> 16) & 32767u);
}

void seed_game_random(std::uint32_t seed) {
    random_state = seed;
}
