// Network messages against arbitrary bytes: a message that decodes encodes
// back to the same bytes, and a side in the middle of a game takes it, with
// the rollback and the checksum comparison it may cause, as if it came from
// the other player.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "game/driver.h"
#include "game/game_state.h"
#include "game/net_peer.h"
#include "game/net_protocol.h"

namespace {

// The session of the seeds in fuzz/corpus/fuzz_net_message/.
constexpr std::uint32_t session = 0x01020304;

// Four ticks into a two-player game.
void play_four_ticks(NetPeer& peer) {
    game_state = GameState{};
    game_state.player_count = 2;
    start_game(7);
    for (SideInput input : {0, 1, 2, 8})
        peer.rollback().advance(input);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    NetMessage message;
    if (decode_message(bytes, message) != DecodeResult::Ok)
        return 0;
    const std::vector<std::uint8_t> encoded = encode_message(message);
    if (!std::equal(encoded.begin(), encoded.end(), bytes.begin(), bytes.end()))
        std::abort();
    NetPeer peer(1, session, 0);
    play_four_ticks(peer);
    peer.receive(message, 1);
    peer.rollback().reconcile();
    peer.check_step();
    peer.outgoing();
    return 0;
}
