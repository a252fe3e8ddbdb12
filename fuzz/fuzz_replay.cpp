// The replay reader on arbitrary files: it reads no byte outside the file,
// what it accepts writes back to the same bytes, and the first ticks of an
// accepted replay play without fault whatever its starting values.

#include <cstdlib>
#include <cstring>

#include "game/driver.h"
#include "game/game_loop.h"
#include "game/replay.h"

namespace {

// Enough ticks for every key set to act and a piece to fall; the rules
// themselves are the subject of the tests.
constexpr int ticks_played = 100;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Replay replay;
    if (decode_replay({data, size}, replay) != ReplayCheck::Playable)
        return 0;
    const std::vector<std::uint8_t> written = encode_replay(replay);
    if (written.size() != size || std::memcmp(written.data(), data, size) != 0)
        std::abort();
    start_replay_game(replay);
    ReplayPlayer player(replay);
    InputFrame input;
    for (int tick = 0; tick < ticks_played && game_running() && player.next(input); ++tick)
        run_tick(input);
    return 0;
}
