#include "game/game_loop.h"

#include "game/driver.h"
#include "game/game_output.h"
#include "game/music_key.h"
#include "game/player.h"
#include "game/session.h"
#include "platform/clock.h"
#include "platform/messages.h"

std::optional<Replay> run_game() {
    const std::uint32_t seed = platform::time_ms();
    ReplayRecorder recorder(replay_start_of(game_state, seed));
    start_game(seed);
    game_output().play_effect(SoundEffect::Start);
    last_tick_ms = platform::time_ms();
    while (game_running() && !quit_requested) {
        check_music_key();
        if (pump_message(next_tick_due()))
            continue;
        if (!app_active)
            platform::wait_message();
        else if (const std::optional<InputFrame> input = game_tick())
            recorder.add(*input);
    }
    if (quit_requested)
        return std::nullopt;
    return recorder.finish(state_checksum(game_state));
}

bool game_running() {
    return players[0].state > 0 && players[1].state > 0;
}
