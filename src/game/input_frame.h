#pragma once

// The inputs of one tick: for each record the down state of its key set's
// four actions, and the game keys. A live tick reads them from the keyboard
// once at its start; a replay reads them from its file. The rules read
// nothing else.

#include <cstdint>

#include "game/player.h"

enum class GameKey { Escape, Pause, F1, F2 };

struct InputFrame {
    // Bits 0 to 3 are record 0's actions in latch order, 4 to 7 record 1's,
    // 8 to 11 the game keys in the order of GameKey.
    std::uint16_t keys = 0;

    bool action_down(int record, int action) const {
        return (keys >> action_bit(record, action) & 1) != 0;
    }
    void set_action(int record, int action, bool down) {
        set_bit(action_bit(record, action), down);
    }
    bool game_key_down(GameKey key) const { return (keys >> game_key_bit(key) & 1) != 0; }
    void set_game_key(GameKey key, bool down) { set_bit(game_key_bit(key), down); }

    bool operator==(const InputFrame&) const = default;

  private:
    static int action_bit(int record, int action) { return record * key_actions + action; }
    static int game_key_bit(GameKey key) { return 2 * key_actions + static_cast<int>(key); }
    void set_bit(int bit, bool on) {
        keys = static_cast<std::uint16_t>(on ? keys | 1u << bit : keys & ~(1u << bit));
    }
};

// How many bits of InputFrame::keys are used.
constexpr int input_frame_bits = 2 * key_actions + 4;
