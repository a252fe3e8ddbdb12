#include "game/game_output.h"

namespace {
GameOutput silent_output;
GameOutput* attached_output = &silent_output;
} // namespace

GameOutput& game_output() {
    return *attached_output;
}

void set_game_output(GameOutput* output) {
    attached_output = output ? output : &silent_output;
}
