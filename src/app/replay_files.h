#pragma once

// The replays of finished games, kept beside the high-score table in a
// folder of their own: the newest 50, and every older one whose game still
// stands in the table.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

#include "game/replay.h"

constexpr int replays_kept = 50;

// The folder of the replays; none when the table has nowhere to live.
std::optional<std::filesystem::path> replay_directory();

// Saves the replay of the game that just ended in game_state under the next
// number, then removes the replays no longer kept. A replay that cannot be
// written is left out; nothing else is affected.
void save_replay(const Replay& replay);

// The bytes of a replay file; nothing when it cannot be read or is larger
// than any replay the game writes.
std::optional<std::vector<std::uint8_t>> read_replay_file(const std::filesystem::path& path);
