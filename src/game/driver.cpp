#include "game/driver.h"

#include "game/controls.h"
#include "game/game_output.h"
#include "game/live_input.h"
#include "game/piece_moves.h"
#include "game/player.h"
#include "game/random.h"
#include "platform/clock.h"
#include "platform/keyboard.h"

namespace {

constexpr std::int32_t countdown_step = 25;
// Level 0 falls one row every 38 ticks; each level is two ticks faster.
constexpr int slowest_fall_ticks = 38;
constexpr int fall_ticks_less_per_level = 2;

void prepare_record(int record) {
    PlayerRecord& player = players[record];
    player.index = record;
    player.score = 0;
    player.rows = 0;
    player.level = 0;
    player.control = starting_key_set(record);
    player.board.fill(0);
    spawn_piece(player);
}

// A finished board shows the game-over picture every tick; once per fall
// period its state counts down towards the end of the game.
void show_finished_board(PlayerRecord& player) {
    if (fall_countdown == 1)
        player.state -= countdown_step;
    game_output().draw_game_over(player);
    game_output().present_frame();
}

// Ticks of one fall period: the level of the left or single player sets the
// speed of both.
int fall_period() {
    return slowest_fall_ticks - fall_ticks_less_per_level * players[0].level;
}

} // namespace

void start_game() {
    start_game(platform::time_ms());
}

void start_game(std::uint32_t seed) {
    // A pad unplugged before the game began is no reason to pause it.
    platform::pad_was_unplugged();
    seed_game_random(seed);
    for (int record = 0; record < player_count; ++record)
        prepare_record(record);
    players[0].state = state_playing;
    players[1].state = state_playing;
    for (int i = 0; i < 2; ++i) {
        game_output().redraw_playfield();
        game_output().present_frame();
    }
    game_output().show_game_palette();
    fall_countdown = first_fall_ticks - players[0].level;
}

std::optional<InputFrame> game_tick() {
    if (platform::time_ms() - last_tick_ms <= tick_length_ms)
        return std::nullopt;
    last_tick_ms = platform::time_ms();
    const InputFrame input = read_input_frame();
    run_tick(input);
    return input;
}

void run_tick(const InputFrame& input) {
    if (input.game_key_down(GameKey::Escape)) {
        players[0].state = 0;
        players[1].state = 0;
    }
    change_key_set(input);
    for (int i = 0; i < player_count; ++i)
        if (players[i].state >= state_playing)
            poll_key_set(i, input);
    for (int i = 0; i < player_count; ++i)
        if (players[i].state < state_playing)
            show_finished_board(players[i]);
    if (--fall_countdown == 0) {
        fall_countdown = fall_period();
        for (int i = 0; i < player_count; ++i)
            if (players[i].state >= state_playing)
                fall_step(players[i]);
        screen_dirty = 1;
    }
    if (screen_dirty) {
        screen_dirty = 0;
        game_output().present_frame();
    }
}

std::uint32_t next_tick_due() {
    return last_tick_ms + tick_length_ms + 1;
}
