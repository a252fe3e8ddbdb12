#pragma once

// A replay: the values a game started from, its seed, the inputs of every
// tick and the checksum of the state it ended in. The file format is in the
// README.

#include <cstdint>
#include <span>
#include <vector>

#include "game/game_state.h"
#include "game/input_frame.h"

constexpr std::uint16_t replay_version = 1;

// What a game starts from besides the generator's seed: the values a game
// start keeps from before.
struct ReplayStart {
    GameMode game_mode = GameMode::Blokit;
    std::int32_t player_count = 1;
    std::array<std::int32_t, 2> key_set_choice{};
    std::array<std::array<std::uint8_t, key_actions>, 2> key_latch{};
    std::array<std::int32_t, 2> losses{};
    std::uint32_t seed = 0;
};

struct Replay {
    ReplayStart start;
    std::uint32_t tick_count = 0;
    // The inputs, as the changes of single bits from tick to tick (README).
    std::vector<std::uint8_t> entries;
    std::uint64_t final_checksum = 0;
};

// The start of the game about to begin in game_state, with this seed.
ReplayStart replay_start_of(const GameState& state, std::uint32_t seed);

// Makes game_state a fresh state with the replay's starting values and
// starts the game from its seed, ready for the first tick.
void start_replay_game(const Replay& replay);

// Adds each tick's inputs to a replay as the game is played.
class ReplayRecorder {
  public:
    explicit ReplayRecorder(const ReplayStart& start) { replay_.start = start; }
    void add(const InputFrame& input);
    // The finished replay, ending in the state with `final_checksum`.
    const Replay& finish(std::uint64_t final_checksum);

  private:
    Replay replay_;
    InputFrame previous_;
    std::uint32_t last_change_ = 0;
};

// Gives back a replay's inputs tick by tick.
class ReplayPlayer {
  public:
    explicit ReplayPlayer(const Replay& replay) : replay_(replay) {}
    // The next tick's inputs; false after the last tick.
    bool next(InputFrame& input);

  private:
    const Replay& replay_;
    std::size_t offset_ = 0;
    std::uint32_t tick_ = 0;
    std::uint64_t last_change_ = 0;
    InputFrame frame_;
};

// After the ticks of `player`: whether the game ended at its last tick in
// the state the replay recorded.
bool ended_as_recorded(const Replay& replay, ReplayPlayer& player);

// What the rules are made of: a replay or a network peer with other rules
// plays another game.
std::uint32_t rules_fingerprint();

// What reading a replay file found.
enum class ReplayCheck { Playable, NotAReplay, OtherVersion, OtherGameData, Damaged };

std::vector<std::uint8_t> encode_replay(const Replay& replay);
// Checks every length and value; `replay` is filled only when Playable.
ReplayCheck decode_replay(std::span<const std::uint8_t> bytes, Replay& replay);
