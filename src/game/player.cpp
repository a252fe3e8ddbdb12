#include "game/player.h"

std::array<PlayerRecord, 2> players;
std::int32_t player_count = 1;
GameMode game_mode = GameMode::Blokit;
std::array<std::int32_t, 2> key_set_choice{};
std::array<std::array<std::uint8_t, key_actions>, 2> key_latch{{{1, 1, 1, 1}, {0, 0, 0, 0}}};
std::int32_t fall_countdown = 0;
std::uint32_t last_tick_ms = 0;
std::uint8_t screen_dirty = 0;

void reset_game_values() {
    players = {};
    player_count = 1;
    game_mode = GameMode::Blokit;
    key_set_choice = {};
    key_latch = {{{1, 1, 1, 1}, {0, 0, 0, 0}}};
    fall_countdown = 0;
    last_tick_ms = 0;
    screen_dirty = 0;
}

void apply_level_rule(PlayerRecord& player) {
    if (player.rows % 5 == 0 && player.level < highest_level)
        player.level += 1;
}
