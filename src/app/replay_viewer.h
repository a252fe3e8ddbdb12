#pragma once

// Watching a replay: the game as it was played, with its screens and sounds.

#include <filesystem>
#include <optional>

#include "game/replay.h"

// The replay in `path`. One that cannot be played is refused with a message
// box (before the window exists) that says why.
std::optional<Replay> load_replay(const std::filesystem::path& path);

// Plays the replay back at normal speed (double while Tab is held); Esc
// stops it, P pauses it. The program's own game values are as before
// afterwards. A replay that does not end in the state it recorded says so.
void watch_replay(const Replay& replay);
