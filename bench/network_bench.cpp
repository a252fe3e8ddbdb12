// Network play at 120 ms of round trip and 5 % loss: what a player feels
// (ticks a local press waits), how often and how far the game is played
// again, and the traffic each way; and the cost of the longest rollback.
#include <benchmark/benchmark.h>

#include "game/driver.h"
#include "game/game_state.h"
#include "game/rollback.h"
#include "support/network_match.h"

namespace {

// Whole simulated games; the counters are the figures of all of them.
void NetworkGamesAt120MsAnd5PercentLoss(benchmark::State& state) {
    std::uint32_t seed = 1;
    double played_seconds = 0;
    double played_ticks = 0;
    double waits = 0;
    double rolled_back = 0;
    double bytes[2] = {0, 0};
    for (auto _ : state) {
        const MatchFigures figures =
            play_network_match(seed % 2 ? GameMode::Blob : GameMode::Blokit, seed, {});
        ++seed;
        played_seconds += figures.elapsed_ms / 1000.0;
        played_ticks += figures.ticks;
        waits += figures.waits;
        rolled_back += figures.rolled_back;
        bytes[0] += static_cast<double>(figures.bytes_sent[0]);
        bytes[1] += static_cast<double>(figures.bytes_sent[1]);
    }
    // A press plays in the tick that reads it unless that tick must wait.
    state.counters["local_input_delay_ticks"] = waits / played_ticks;
    state.counters["rolled_back_ticks_per_s_each_side"] = rolled_back / played_seconds / 2;
    state.counters["host_to_joiner_bytes_per_s"] = bytes[0] / played_seconds;
    state.counters["joiner_to_host_bytes_per_s"] = bytes[1] / played_seconds;
    state.counters["game_seconds"] = played_seconds;
}
BENCHMARK(NetworkGamesAt120MsAnd5PercentLoss)->Iterations(40)->Unit(benchmark::kMillisecond);

// The joiner's input proves wrong 8 ticks back: the whole rollback is
// played again, silently.
void EightTickRollback(benchmark::State& state) {
    game_state = GameState{};
    game_state.player_count = 2;
    game_state.game_mode = static_cast<GameMode>(state.range(0));
    start_game(5);
    RollbackSession session(0);
    const SideInput predicted[max_rollback_ticks] = {};
    const SideInput actual[max_rollback_ticks] = {1, 1, 4, 4, 8, 0, 2, 2};
    for (SideInput input : predicted)
        session.advance(input);
    const GameState before = game_state;
    int played_again = 0;
    for (auto _ : state) {
        RollbackSession copy = session;
        game_state = before;
        copy.add_remote(0, actual);
        played_again = copy.reconcile();
    }
    state.counters["ticks_played_again"] = played_again;
}
BENCHMARK(EightTickRollback)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace
