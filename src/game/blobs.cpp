#include "game/blobs.h"

GroupList& group_list = game_state.group_list;

namespace {

struct Step {
    int columns;
    int rows;
};
// Neighbours are tried left, up, right, down.
constexpr Step neighbour_steps[4] = {{-1, 0}, {0, -1}, {1, 0}, {0, 1}};

bool on_board(int column, int row) {
    return column >= 0 && column < board_columns && row >= 0 && row < board_rows;
}

void settle_all_columns(PlayerRecord& player) {
    for (int column = 0; column < board_columns; ++column)
        settle_column(player, column);
}

// Empties the collected group and counts it; true when it was big enough.
bool vanish_collected_group(PlayerRecord& player) {
    if (group_list.count < blob_vanish_size)
        return false;
    for (int i = 0; i < group_list.count; ++i)
        player.cell(group_list.cells[i].column, group_list.cells[i].row) = 0;
    player.rows += 1;
    apply_level_rule(player);
    settle_all_columns(player);
    return true;
}

// One sweep over the board from the top row down, each row from the left.
bool vanish_pass(PlayerRecord& player) {
    bool vanished = false;
    for (int row = 0; row < board_rows; ++row)
        for (int column = 0; column < board_columns; ++column) {
            if (player.cell(column, row) == 0)
                continue;
            collect_group(player, column, row);
            vanished = vanish_collected_group(player) || vanished;
        }
    return vanished;
}

} // namespace

void settle_column(PlayerRecord& player, int column) {
    int bottom = board_rows - 1;
    for (int row = board_rows - 1; row >= 0; --row) {
        const std::uint8_t colour = player.cell(column, row);
        if (colour == 0)
            continue;
        player.cell(column, row) = 0;
        player.cell(column, bottom--) = colour;
    }
}

void collect_group(const PlayerRecord& player, int column, int row) {
    // Depth first without recursion: each frame remembers which neighbour
    // it tries next. A cell is marked when it joins, so it joins once.
    struct Frame {
        int column;
        int row;
        int next_step;
    };
    std::array<Frame, board_cells> stack;
    std::array<bool, board_cells> joined{};
    int depth = 0;
    const std::uint8_t colour = player.cell(column, row);
    group_list.count = 0;

    auto join = [&](int c, int r) {
        joined[c * board_rows + r] = true;
        group_list.cells[group_list.count++] = {c, r};
        stack[depth++] = {c, r, 0};
    };
    join(column, row);
    while (depth > 0) {
        Frame& frame = stack[depth - 1];
        if (frame.next_step == 4) {
            --depth;
            continue;
        }
        const Step step = neighbour_steps[frame.next_step++];
        const int c = frame.column + step.columns;
        const int r = frame.row + step.rows;
        if (on_board(c, r) && !joined[c * board_rows + r] && player.cell(c, r) == colour)
            join(c, r);
    }
}

void resolve_blobs(PlayerRecord& player) {
    settle_all_columns(player);
    while (vanish_pass(player)) {
    }
}
