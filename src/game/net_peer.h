#pragma once

// One side of a network game after the handshake: what it tells the other
// side (its inputs, checksums, pause, readiness, leaving) and what it makes
// of the other side's messages. It knows no socket and no clock of its own:
// the caller hands it packets and the time.

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "game/net_protocol.h"
#include "game/rollback.h"

// What the other side's messages, or their lack, brought.
enum class PeerEvent { None, Left, OutOfStep, Silent };

enum class TickOutcome { Play, Paused, Over, SlowedDown, Waiting };

// Without a message for this long the other side counts as gone.
constexpr std::uint32_t peer_silence_ms = 5000;
// A state checksum is exchanged every this many ticks (about a second).
constexpr std::uint32_t checksum_interval_ticks = 38;

class NetPeer {
  public:
    NetPeer(int local_side, std::uint32_t session, std::uint32_t now_ms);

    int local_side() const { return local_side_; }
    std::uint16_t game() const { return game_; }
    // The next game, once both agreed on it; its state must be started in
    // game_state. The first game is started with the peer.
    void start_next_game();
    RollbackSession& rollback() { return *rollback_; }
    const RollbackSession& rollback() const { return *rollback_; }

    // A message from the other side's address that decoded.
    PeerEvent receive(const NetMessage& message, std::uint32_t now_ms);
    // After the received messages and the rollback they caused: compares
    // the checksums that are due.
    PeerEvent check_step();
    PeerEvent check_silence(std::uint32_t now_ms) const;
    // The packets to send now: the inputs message, and a checksum message
    // while one is fresh.
    std::vector<std::vector<std::uint8_t>> outgoing();

    // What to do when a tick is due: play it, unless the game is paused or
    // over, this side should slow down, or it has run as far ahead of the
    // other side's inputs as the rollback allows. Play with
    // rollback().advance() and this side's input.
    TickOutcome next_tick() const;

    // This side is further ahead of the other than the other of this one,
    // by a tick or more: it should let a tick's time pass unplayed.
    bool runs_ahead() const;
    bool paused() const;
    // P here: pauses both sides, or resumes them while paused.
    void press_pause();
    // This side wants the next game; true once both do.
    void set_ready() { ready_ = true; }
    bool next_game_agreed() const;
    // The game has ended on inputs both sides agree on, and its final state
    // has been checksummed.
    bool game_over() const { return final_known_; }
    std::uint64_t final_checksum() const { return final_checksum_; }

  private:
    struct SentChecksum {
        std::uint32_t tick = 0;
        std::uint64_t value = 0;
        bool known = false;
    };
    void take_inputs(const Inputs& inputs);
    void take_checksum(const StateChecksum& checksum);
    std::uint8_t shared_pause() const;
    void record_checksum(std::uint32_t tick, std::uint64_t value);
    // This side's ticks ahead of the newest input it has of the other side.
    int local_advantage() const;

    int local_side_;
    std::uint32_t session_;
    std::uint32_t last_heard_ms_;
    std::uint16_t game_ = 0;
    std::unique_ptr<RollbackSession> rollback_;
    std::uint32_t acked_by_remote_ = 0;
    std::uint32_t remote_tick_ = 0;
    int remote_advantage_ = 0;
    std::uint8_t local_pause_ = 0;
    std::uint8_t remote_pause_ = 0;
    bool ready_ = false;
    bool remote_ready_ = false;
    bool remote_in_next_game_ = false;
    // This side's checksums, and the other side's, by tick.
    std::array<SentChecksum, 4> own_{};
    std::array<SentChecksum, 4> theirs_{};
    std::uint32_t next_checksum_tick_ = 0;
    // The checksum being sent, and how many more packets carry it.
    SentChecksum fresh_;
    int checksum_repeats_ = 0;
    bool final_known_ = false;
    bool out_of_step_ = false;
    std::uint64_t final_checksum_ = 0;
};
