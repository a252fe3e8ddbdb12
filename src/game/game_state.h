#pragma once

// Everything a tick reads and writes, as one value: a copy is a snapshot,
// assigning it back restores it, and a fresh value is the state the program
// starts with.

#include <array>
#include <cstdint>

#include "game/player.h"

struct GroupCell {
    std::int32_t column = 0;
    std::int32_t row = 0;
};

// The group last collected, each cell once.
struct GroupList {
    std::array<GroupCell, board_cells> cells{};
    int count = 0;
};

struct GameState {
    std::array<PlayerRecord, 2> players{};
    std::int32_t player_count = 1;
    GameMode game_mode = GameMode::Blokit;
    std::array<std::int32_t, 2> key_set_choice{};
    // The left or single player's latches start armed, the right player's not.
    std::array<std::array<std::uint8_t, key_actions>, 2> key_latch{{{1, 1, 1, 1}, {0, 0, 0, 0}}};
    std::int32_t fall_countdown = 0;
    std::uint32_t random_state = 0;
    std::uint8_t screen_dirty = 0;
    // The blob mode's working list; its contents never outlast a lock.
    GroupList group_list;
};

// The one state of the running program.
extern GameState game_state;

// A checksum of what decides the rest of the game: the records in play (a
// one-player game never looks at the second), the game-wide values and the
// generator. Two states with equal checksums play on alike.
std::uint64_t state_checksum(const GameState& state);
