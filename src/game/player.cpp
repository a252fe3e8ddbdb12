#include "game/player.h"

#include "game/game_state.h"

std::array<PlayerRecord, 2>& players = game_state.players;
std::int32_t& player_count = game_state.player_count;
GameMode& game_mode = game_state.game_mode;
std::array<std::int32_t, 2>& key_set_choice = game_state.key_set_choice;
std::array<std::array<std::uint8_t, key_actions>, 2>& key_latch = game_state.key_latch;
std::int32_t& fall_countdown = game_state.fall_countdown;
std::uint8_t& screen_dirty = game_state.screen_dirty;
std::uint32_t last_tick_ms = 0;

void reset_game_values() {
    game_state = GameState{};
    last_tick_ms = 0;
}

void apply_level_rule(PlayerRecord& player) {
    if (player.rows % 5 == 0 && player.level < highest_level)
        player.level += 1;
}
