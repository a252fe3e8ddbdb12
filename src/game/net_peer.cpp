#include "game/net_peer.h"

#include <algorithm>

#include "game/game_loop.h"
#include "game/game_state.h"

namespace {

// A checksum message goes out with this many packets in a row, so that a
// lost packet loses no comparison.
constexpr int checksum_sends = 3;

// Pause counts wrap around; the later of two is the one a little ahead.
bool later(std::uint8_t a, std::uint8_t b) {
    return static_cast<std::int8_t>(a - b) > 0;
}

template <typename Store> void remember(Store& store, std::uint32_t tick, std::uint64_t value) {
    auto oldest = std::min_element(store.begin(), store.end(), [](const auto& a, const auto& b) {
        return !a.known || (b.known && a.tick < b.tick);
    });
    *oldest = {tick, value, true};
}

template <typename Store>
bool disagree(const Store& store, std::uint32_t tick, std::uint64_t value) {
    return std::any_of(store.begin(), store.end(), [&](const auto& entry) {
        return entry.known && entry.tick == tick && entry.value != value;
    });
}

} // namespace

NetPeer::NetPeer(int local_side, std::uint32_t session, std::uint32_t now_ms)
    : local_side_(local_side), session_(session), last_heard_ms_(now_ms),
      rollback_(std::make_unique<RollbackSession>(local_side)) {}

void NetPeer::start_next_game() {
    ++game_;
    rollback_ = std::make_unique<RollbackSession>(local_side_);
    acked_by_remote_ = 0;
    remote_tick_ = 0;
    remote_advantage_ = 0;
    ready_ = false;
    remote_ready_ = false;
    remote_in_next_game_ = false;
    own_ = {};
    theirs_ = {};
    next_checksum_tick_ = 0;
    checksum_repeats_ = 0;
    final_known_ = false;
}

PeerEvent NetPeer::receive(const NetMessage& message, std::uint32_t now_ms) {
    if (const auto* inputs = std::get_if<Inputs>(&message); inputs && inputs->session == session_) {
        last_heard_ms_ = now_ms;
        take_inputs(*inputs);
    } else if (const auto* sum = std::get_if<StateChecksum>(&message);
               sum && sum->session == session_) {
        last_heard_ms_ = now_ms;
        take_checksum(*sum);
    } else if (const auto* leave = std::get_if<Leave>(&message);
               leave && leave->session == session_) {
        return PeerEvent::Left;
    }
    // Anything else is a late echo of the handshake or of another session.
    return PeerEvent::None;
}

void NetPeer::take_inputs(const Inputs& inputs) {
    if (later(inputs.pause, remote_pause_))
        remote_pause_ = inputs.pause;
    if (inputs.game == static_cast<std::uint16_t>(game_ + 1))
        remote_in_next_game_ = true;
    if (inputs.game != game_)
        return;
    remote_ready_ = inputs.ready != 0;
    acked_by_remote_ = std::min(std::max(inputs.ack, acked_by_remote_), rollback_->tick());
    remote_advantage_ = inputs.advantage;
    rollback_->add_remote(inputs.first, inputs.inputs);
    // The sender's tick, as far as an honest one can be ahead of this side.
    const std::uint64_t sender_tick = std::uint64_t(inputs.first) + inputs.inputs.size();
    const std::uint64_t furthest = std::uint64_t(rollback_->tick()) + 2 * max_rollback_ticks;
    remote_tick_ =
        std::max(remote_tick_, static_cast<std::uint32_t>(std::min(sender_tick, furthest)));
}

void NetPeer::take_checksum(const StateChecksum& checksum) {
    if (checksum.game != game_)
        return;
    if (disagree(own_, checksum.tick, checksum.checksum))
        out_of_step_ = true;
    remember(theirs_, checksum.tick, checksum.checksum);
}

PeerEvent NetPeer::check_step() {
    const RollbackSession& session = *rollback_;
    const std::uint32_t confirmed = std::min(session.tick(), session.remote_known());
    std::uint64_t value = 0;
    while (next_checksum_tick_ <= confirmed &&
           session.checksum_before(next_checksum_tick_, value)) {
        record_checksum(next_checksum_tick_, value);
        next_checksum_tick_ += checksum_interval_ticks;
    }
    if (session.finished() && !final_known_) {
        final_known_ = true;
        final_checksum_ = state_checksum(game_state);
        record_checksum(session.tick(), final_checksum_);
    }
    return out_of_step_ ? PeerEvent::OutOfStep : PeerEvent::None;
}

void NetPeer::record_checksum(std::uint32_t tick, std::uint64_t value) {
    remember(own_, tick, value);
    out_of_step_ = out_of_step_ || disagree(theirs_, tick, value);
    fresh_ = {tick, value, true};
    checksum_repeats_ = checksum_sends;
}

PeerEvent NetPeer::check_silence(std::uint32_t now_ms) const {
    return now_ms - last_heard_ms_ >= peer_silence_ms ? PeerEvent::Silent : PeerEvent::None;
}

std::vector<std::vector<std::uint8_t>> NetPeer::outgoing() {
    Inputs inputs;
    inputs.session = session_;
    inputs.game = game_;
    inputs.pause = local_pause_;
    inputs.ready = ready_ ? 1 : 0;
    inputs.advantage = static_cast<std::int8_t>(std::clamp(local_advantage(), -128, 127));
    inputs.ack = rollback_->remote_known();
    inputs.first = acked_by_remote_;
    const std::span<const SideInput> unacked =
        rollback_->local_inputs(acked_by_remote_, max_inputs_per_message);
    inputs.inputs.assign(unacked.begin(), unacked.end());
    std::vector<std::vector<std::uint8_t>> packets{encode_message(inputs)};
    if (checksum_repeats_ > 0) {
        --checksum_repeats_;
        packets.push_back(
            encode_message(StateChecksum{session_, game_, fresh_.tick, fresh_.value}));
    }
    return packets;
}

int NetPeer::local_advantage() const {
    return static_cast<int>(rollback_->tick()) - static_cast<int>(remote_tick_);
}

bool NetPeer::runs_ahead() const {
    return local_advantage() - remote_advantage_ >= 2;
}

std::uint8_t NetPeer::shared_pause() const {
    return later(remote_pause_, local_pause_) ? remote_pause_ : local_pause_;
}

bool NetPeer::paused() const {
    return (shared_pause() & 1) != 0;
}

void NetPeer::press_pause() {
    local_pause_ = static_cast<std::uint8_t>(shared_pause() + 1);
}

bool NetPeer::next_game_agreed() const {
    return ready_ && (remote_ready_ || remote_in_next_game_);
}

TickOutcome NetPeer::next_tick() const {
    if (paused())
        return TickOutcome::Paused;
    if (!game_running())
        return TickOutcome::Over;
    if (runs_ahead())
        return TickOutcome::SlowedDown;
    return rollback_->can_advance() ? TickOutcome::Play : TickOutcome::Waiting;
}
