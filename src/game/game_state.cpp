#include "game/game_state.h"

#include "game/checksum.h"

GameState game_state;

namespace {

void add_record(Checksum& sum, const PlayerRecord& player) {
    for (std::int32_t value :
         {player.index, player.state, player.score, player.rows, player.level, player.losses})
        sum.add(value);
    sum.add(player.board.data(), player.board.size());
    sum.add(player.piece.column);
    sum.add(player.piece.row);
    sum.add(player.piece.colour);
    sum.add(player.piece.cells.data(), player.piece.cells.size());
    sum.add(static_cast<std::uint8_t>(player.control));
}

} // namespace

std::uint64_t state_checksum(const GameState& state) {
    Checksum sum;
    sum.add(state.player_count);
    sum.add(static_cast<std::uint8_t>(state.game_mode));
    for (int i = 0; i < state.player_count && i < 2; ++i)
        add_record(sum, state.players[i]);
    sum.add(state.key_set_choice[0]);
    sum.add(state.key_set_choice[1]);
    for (const auto& latches : state.key_latch)
        sum.add(latches.data(), latches.size());
    sum.add(state.fall_countdown);
    sum.add(state.random_state);
    sum.add(state.screen_dirty);
    return sum.value();
}
