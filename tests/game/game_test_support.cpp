#include "game_test_support.h"
#include "app/program_state.h"

#include <algorithm>

#include "game/driver.h"
#include "game/session.h"
#include "game/shapes.h"
#include "platform/headless/headless.h"

std::vector<SoundEffect> RecordingOutput::effects() const {
    std::vector<SoundEffect> played;
    for (const OutputEvent& event : events)
        if (event.kind == OutputEvent::Kind::PlayEffect)
            played.push_back(event.effect);
    return played;
}

int RecordingOutput::count(OutputEvent::Kind kind) const {
    return static_cast<int>(std::count_if(events.begin(), events.end(),
                                          [kind](const OutputEvent& e) { return e.kind == kind; }));
}

void GameTest::SetUp() {
    reset_program_state();
    headless::reset(100000);
    app_active = 1;
    set_game_output(&output);
}

void GameTest::TearDown() {
    set_game_output(nullptr);
}

void fill_row(PlayerRecord& player, int row, std::uint8_t colour,
              std::initializer_list<int> holes) {
    for (int column = 0; column < board_columns; ++column)
        player.cell(column, row) =
            std::find(holes.begin(), holes.end(), column) == holes.end() ? colour : 0;
}

int filled_cells(const PlayerRecord& player) {
    return static_cast<int>(std::count_if(player.board.begin(), player.board.end(),
                                          [](std::uint8_t c) { return c != 0; }));
}

int empty_cells_in_row(const PlayerRecord& player, int row) {
    int empty = 0;
    for (int column = 0; column < board_columns; ++column)
        empty += player.cell(column, row) == 0;
    return empty;
}

Piece make_piece(int kind, int column, int row) {
    Piece piece;
    piece.column = column;
    piece.row = row;
    piece.colour = static_cast<std::uint8_t>(kind);
    piece.cells = shape_cells(kind);
    return piece;
}

std::vector<std::pair<int, int>> piece_cells(const Piece& piece) {
    std::vector<std::pair<int, int>> cells;
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            if (piece.occupied(c, r))
                cells.emplace_back(piece.column + c, piece.row + r);
    return cells;
}

void run_ticks(int count) {
    for (int i = 0; i < count; ++i) {
        headless::advance(tick_length_ms + 1);
        game_tick();
    }
}

void hold_key(int key, std::uint64_t from, std::uint64_t until) {
    headless::press_at(from, key);
    headless::release_at(until, key);
}
