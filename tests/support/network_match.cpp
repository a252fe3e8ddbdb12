#include "support/network_match.h"

#include <algorithm>
#include <array>
#include <map>
#include <random>
#include <vector>

#include "game/driver.h"
#include "game/game_output.h"
#include "game/game_state.h"
#include "game/net_peer.h"

namespace {

constexpr std::uint32_t tick_ms = tick_length_ms + 1;
// Longer than any honest game of random keys: the match gives up there.
constexpr std::uint32_t longest_match_ms = 30 * 60 * 1000;

// Draws as the game's own output does in one respect: every drawing marks
// the screen dirty, in the state of whichever side is acting.
class DirtyingOutput : public GameOutput {
  public:
    void erase_piece(const PlayerRecord&) override { screen_dirty = 1; }
    void draw_piece(const PlayerRecord&) override { screen_dirty = 1; }
    void redraw_playfield() override { screen_dirty = 1; }
    void draw_game_over(const PlayerRecord&) override { screen_dirty = 1; }
    void draw_paused() override { screen_dirty = 1; }
};

struct Packet {
    int to = 0;
    std::vector<std::uint8_t> bytes;
};

class SimulatedNetwork {
  public:
    SimulatedNetwork(std::uint32_t seed, const NetworkConditions& conditions)
        : random_(seed), conditions_(conditions) {}

    void send(int to, std::vector<std::uint8_t> bytes, std::uint32_t now_ms) {
        if (percent() < conditions_.loss_percent)
            return;
        const int copies = percent() < conditions_.duplicate_percent ? 2 : 1;
        for (int i = 0; i < copies; ++i) {
            const std::uint32_t jitter =
                conditions_.jitter_ms == 0
                    ? 0
                    : static_cast<std::uint32_t>(random_() % (conditions_.jitter_ms + 1));
            in_flight_.insert({now_ms + conditions_.delay_ms + jitter, Packet{to, bytes}});
        }
    }
    // The next packet due by `now_ms`, if any.
    bool deliver(std::uint32_t now_ms, Packet& packet) {
        if (in_flight_.empty() || in_flight_.begin()->first > now_ms)
            return false;
        packet = std::move(in_flight_.begin()->second);
        in_flight_.erase(in_flight_.begin());
        return true;
    }
    std::uint32_t next_due() const {
        return in_flight_.empty() ? UINT32_MAX : in_flight_.begin()->first;
    }

  private:
    int percent() { return static_cast<int>(random_() % 100); }

    std::mt19937 random_;
    NetworkConditions conditions_;
    std::multimap<std::uint32_t, Packet> in_flight_;
};

// One machine: its own state, swapped into game_state while it acts.
struct Side {
    Side(int side, std::uint32_t seed, GameMode mode, std::uint32_t start_ms)
        : peer(side, 1234, 0), keys(seed + side), next_tick_ms(start_ms) {
        game_state = GameState{};
        game_state.player_count = 2;
        game_state.game_mode = mode;
        start_game(seed);
        state = game_state;
    }

    // Keys held change now and then; Esc and F1 are rare single presses.
    SideInput next_input() {
        for (int action = 0; action < key_actions; ++action)
            if (keys() % 6 == 0)
                held ^= static_cast<SideInput>(1 << action);
        SideInput input = held;
        if (keys() % 4000 == 0)
            input |= side_escape_bit;
        if (keys() % 300 == 0)
            input |= side_key_set_bit;
        return input;
    }

    GameState state;
    NetPeer peer;
    std::mt19937 keys;
    SideInput held = 0;
    std::uint32_t next_tick_ms;
};

void send_all(Side& side, int to, SimulatedNetwork& network, MatchFigures& figures,
              std::uint32_t now_ms) {
    for (std::vector<std::uint8_t>& packet : side.peer.outgoing()) {
        figures.bytes_sent[1 - to] += packet.size();
        network.send(to, std::move(packet), now_ms);
    }
}

// What side `index` does at `now_ms`: takes its packets, and plays and
// sends when its tick is due.
void act(std::array<Side, 2>& sides, int index, SimulatedNetwork& network, Packet* packet,
         MatchFigures& figures, std::uint32_t now_ms) {
    Side& side = sides[index];
    std::swap(game_state, side.state);
    NetMessage message;
    if (packet && decode_message(packet->bytes, message) == DecodeResult::Ok)
        side.peer.receive(message, now_ms);
    figures.rolled_back += static_cast<std::uint32_t>(side.peer.rollback().reconcile());
    if (side.peer.check_step() == PeerEvent::OutOfStep)
        figures.out_of_step = true;
    if (now_ms >= side.next_tick_ms) {
        side.next_tick_ms += tick_ms;
        switch (side.peer.next_tick()) {
        case TickOutcome::Play:
            side.peer.rollback().advance(side.next_input());
            break;
        case TickOutcome::Waiting:
            ++figures.waits;
            break;
        case TickOutcome::SlowedDown:
            ++figures.slowdowns;
            break;
        default:
            break;
        }
        send_all(side, 1 - index, network, figures, now_ms);
    }
    std::swap(game_state, side.state);
}

} // namespace

MatchFigures play_network_match(GameMode mode, std::uint32_t seed,
                                const NetworkConditions& conditions) {
    DirtyingOutput output;
    set_game_output(&output);
    SimulatedNetwork network(seed, conditions);
    // The joiner starts a little later, at a time of its own.
    std::array<Side, 2> sides{Side(0, seed, mode, 0), Side(1, seed, mode, 5 + seed % tick_ms)};
    MatchFigures figures;
    std::uint32_t now_ms = 0;
    while (now_ms < longest_match_ms) {
        Packet packet;
        while (network.deliver(now_ms, packet))
            act(sides, packet.to, network, &packet, figures, now_ms);
        for (int index = 0; index < 2; ++index)
            act(sides, index, network, nullptr, figures, now_ms);
        if (sides[0].peer.game_over() && sides[1].peer.game_over())
            break;
        now_ms = std::min({sides[0].next_tick_ms, sides[1].next_tick_ms, network.next_due()});
    }
    set_game_output(nullptr);
    figures.finished = now_ms < longest_match_ms;
    figures.elapsed_ms = now_ms;
    figures.ticks = sides[0].peer.rollback().tick();
    for (int index = 0; index < 2; ++index)
        figures.final_checksum[index] = sides[index].peer.final_checksum();
    return figures;
}
