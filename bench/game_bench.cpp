// How fast the rules run: whole ticks of a two-player game with nothing
// drawn, and the blob search on a full board.
#include <benchmark/benchmark.h>

#include "game/blobs.h"
#include "game/driver.h"
#include "game/player.h"
#include "platform/clock.h"
#include "platform/headless/headless.h"
#include "platform/keyboard.h"

namespace {

namespace vk = platform::vk;

void start_two_player_game(GameMode mode) {
    reset_game_values();
    player_count = 2;
    game_mode = mode;
    start_game();
    last_tick_ms = platform::time_ms();
    fall_countdown = first_fall_ticks;
}

// Both players press a fixed round of keys: moves, turns and a drop now
// and then, so pieces spread over the board, lock, clear rows and top out.
void press_scripted_keys(long tick) {
    static constexpr int left_keys[] = {'A', 'D', 'W', 'S', vk::Shift, 'A', 'A', 'D', 'W'};
    static constexpr int right_keys[] = {vk::Right, vk::Down,  vk::Left, vk::Control,
                                         vk::Right, vk::Right, vk::Down, vk::Left};
    for (int key : left_keys)
        headless::set_key(key, false);
    for (int key : right_keys)
        headless::set_key(key, false);
    if (tick % 2 == 0) {
        headless::set_key(left_keys[tick / 2 % std::size(left_keys)], true);
        headless::set_key(right_keys[tick / 2 % std::size(right_keys)], true);
    }
}

void run_ticks(benchmark::State& state, GameMode mode) {
    headless::reset(1);
    start_two_player_game(mode);
    long tick = 0;
    long games = 1;
    for (auto _ : state) {
        press_scripted_keys(tick++);
        headless::advance(tick_length_ms + 1);
        game_tick();
        if (players[0].state <= 0 || players[1].state <= 0) {
            start_two_player_game(mode);
            ++games;
        }
    }
    // Items are ticks; ticks_per_game shows that whole games were played.
    state.SetItemsProcessed(state.iterations());
    state.counters["ticks_per_game"] =
        static_cast<double>(state.iterations()) / static_cast<double>(games);
}

void BM_TwoPlayerTicks(benchmark::State& state) {
    run_ticks(state, GameMode::Blokit);
}
BENCHMARK(BM_TwoPlayerTicks);

void BM_TwoPlayerBlobTicks(benchmark::State& state) {
    run_ticks(state, GameMode::Blob);
}
BENCHMARK(BM_TwoPlayerBlobTicks);

// A full board of blocks of 5 x 3 cells, each block a colour unlike its
// neighbours: every cell starts a search of up to 15 cells and nothing
// vanishes, the dearest pass there is.
PlayerRecord full_board_of_blocks() {
    PlayerRecord player;
    for (int column = 0; column < board_columns; ++column)
        for (int row = 0; row < board_rows; ++row)
            player.cell(column, row) =
                static_cast<std::uint8_t>((column / 5 + row / 3 * 2) % 7 + 1);
    return player;
}

// Resolves a copy of `board` per iteration.
void resolve_copies(benchmark::State& state, const PlayerRecord& board) {
    PlayerRecord player;
    for (auto _ : state) {
        player = board;
        resolve_blobs(player);
        benchmark::DoNotOptimize(player.board.data());
    }
}

void BM_ResolveBlobsFullBoardNothingVanishes(benchmark::State& state) {
    resolve_copies(state, full_board_of_blocks());
}
BENCHMARK(BM_ResolveBlobsFullBoardNothingVanishes);

// One group of the whole board vanishes at once.
void BM_ResolveBlobsFullBoardOneColour(benchmark::State& state) {
    PlayerRecord board;
    board.board.fill(3);
    resolve_copies(state, board);
}
BENCHMARK(BM_ResolveBlobsFullBoardOneColour);

} // namespace
