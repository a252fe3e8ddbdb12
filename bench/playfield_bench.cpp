// How long the playfield takes to draw with the game's own pictures: the
// full redraw of one and of two boards, and one piece step (erase, draw).
#include <benchmark/benchmark.h>

#include <filesystem>

#include "app/assets.h"
#include "game/playfield.h"
#include "gfx/display.h"
#include "platform/headless/headless.h"

namespace {

// The display open and the assets loaded from the run directory, once.
void prepare_playfield(int count) {
    static const bool loaded = [] {
        headless::reset(1);
        open_display(mode_fullscreen, "QM - Blokit", 8, 640, 480, 640, 480);
        const std::filesystem::path previous = std::filesystem::current_path();
        std::filesystem::current_path(BLOKIT_RUN_DIR);
        load_assets();
        std::filesystem::current_path(previous);
        return true;
    }();
    (void)loaded;
    player_count = count;
    for (int i = 0; i < count; ++i) {
        PlayerRecord& player = players[i];
        player.index = i;
        // The lower half filled in vertical stripes of colour, the square above it.
        for (int column = 0; column < board_columns; ++column)
            for (int row = 12; row < board_rows; ++row)
                player.cell(column, row) = std::uint8_t(1 + (column + row / 3) % 7);
        player.piece.column = 3;
        player.piece.row = 2;
        player.piece.colour = 4;
        player.piece.cells = {0, 0, 0, 0, 0, 1, 1, 0, 0, 1, 1, 0, 0, 0, 0, 0};
    }
}

void redraw(benchmark::State& state) {
    prepare_playfield(int(state.range(0)));
    for (auto _ : state)
        redraw_playfield();
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(redraw)->Arg(1)->Arg(2)->ArgName("players");

void piece_step(benchmark::State& state) {
    prepare_playfield(1);
    redraw_playfield();
    for (auto _ : state) {
        erase_piece(players[0]);
        players[0].piece.column ^= 1;
        draw_piece(players[0]);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(piece_step);

} // namespace
