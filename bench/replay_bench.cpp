// Replays: how fast a replay plays with nothing drawn, and how large the
// replay of a ten-minute two-player game is.
#include <benchmark/benchmark.h>

#include <random>

#include "game/driver.h"
#include "game/game_loop.h"
#include "game/replay.h"

namespace {

// Ten minutes of ticks of a little over 25 ms.
constexpr int ten_minutes_of_ticks = 600 * 1000 / (tick_length_ms + 1);
// Key presses per second of each player, each held for a few ticks.
constexpr double presses_per_second = 4;

// Two players who each press one of their four keys four times a second.
Replay ten_minute_replay(GameMode mode) {
    std::mt19937 random(42);
    std::bernoulli_distribution press(presses_per_second * (tick_length_ms + 1) / 1000);
    ReplayStart start;
    start.game_mode = mode;
    start.player_count = 2;
    start.key_latch = {{{1, 1, 1, 1}, {0, 0, 0, 0}}};
    start.seed = 1;
    ReplayRecorder recorder(start);
    std::array<int, 2> release_at{};
    InputFrame input;
    for (int tick = 0; tick < ten_minutes_of_ticks; ++tick) {
        for (int player = 0; player < 2; ++player) {
            if (tick == release_at[player])
                for (int action = 0; action < key_actions; ++action)
                    input.set_action(player, action, false);
            if (tick > release_at[player] && press(random)) {
                input.set_action(player, static_cast<int>(random() % key_actions), true);
                release_at[player] = tick + 2 + static_cast<int>(random() % 5);
            }
        }
        recorder.add(input);
    }
    return recorder.finish(0);
}

// Plays the replay's ticks over and over, starting it again whenever its game
// ends (these players are no good: their games end long before ten minutes).
void play_replay_ticks(benchmark::State& state, GameMode mode) {
    const Replay replay = ten_minute_replay(mode);
    const std::vector<std::uint8_t> file = encode_replay(replay);
    std::optional<ReplayPlayer> player;
    long games = 0;
    InputFrame input;
    for (auto _ : state) {
        if (!player || !game_running() || !player->next(input)) {
            start_replay_game(replay);
            player.emplace(replay);
            player->next(input);
            ++games;
        }
        run_tick(input);
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["ticks_per_game"] = double(state.iterations()) / double(games);
    state.counters["ten_minute_file_bytes"] = double(file.size());
}

void BM_ReplayTwoPlayerTicks(benchmark::State& state) {
    play_replay_ticks(state, GameMode::Blokit);
}
BENCHMARK(BM_ReplayTwoPlayerTicks);

void BM_ReplayTwoPlayerBlobTicks(benchmark::State& state) {
    play_replay_ticks(state, GameMode::Blob);
}
BENCHMARK(BM_ReplayTwoPlayerBlobTicks);

} // namespace
