#include "game/rollback.h"

#include <algorithm>

#include "game/driver.h"
#include "game/game_loop.h"

namespace {

constexpr SideInput side_actions = 0x0F;

// Another side keeps within the rollback of this side's inputs, so inputs
// from further ahead than this come from no honest peer.
constexpr std::uint32_t furthest_remote_ahead = 2 * max_rollback_ticks;

// Nothing drawn or heard while ticks are played again.
GameOutput silence;

} // namespace

InputFrame merged_frame(SideInput host, SideInput joiner) {
    InputFrame frame;
    for (int action = 0; action < key_actions; ++action) {
        frame.set_action(0, action, (host >> action & 1) != 0);
        frame.set_action(1, action, (joiner >> action & 1) != 0);
    }
    frame.set_game_key(GameKey::Escape, ((host | joiner) & side_escape_bit) != 0);
    frame.set_game_key(GameKey::F1, (host & side_key_set_bit) != 0);
    frame.set_game_key(GameKey::F2, (joiner & side_key_set_bit) != 0);
    return frame;
}

void redraw_game(GameOutput& output) {
    output.redraw_playfield();
    for (int i = 0; i < player_count; ++i)
        if (players[i].state < state_playing)
            output.draw_game_over(players[i]);
}

bool RollbackSession::can_advance() const {
    return game_running() && tick() < remote_known() + max_rollback_ticks;
}

void RollbackSession::advance(SideInput local) {
    local_.push_back(local);
    used_remote_.push_back(remote_at(tick() - 1));
    play(tick() - 1);
}

void RollbackSession::add_remote(std::uint32_t first, std::span<const SideInput> inputs) {
    if (first > remote_known())
        return; // a gap: an honest side sends from what this side acknowledged
    for (std::size_t i = remote_known() - first;
         i < inputs.size() && remote_known() < tick() + furthest_remote_ahead; ++i) {
        const std::uint32_t t = remote_known();
        remote_.push_back(inputs[i]);
        if (t < tick() && used_remote_[t] != inputs[i])
            first_wrong_ = std::min(first_wrong_, t);
    }
}

int RollbackSession::reconcile() {
    if (first_wrong_ >= tick()) {
        first_wrong_ = UINT32_MAX;
        return 0;
    }
    const std::uint32_t from = first_wrong_;
    const std::uint32_t played = tick();
    first_wrong_ = UINT32_MAX;
    game_state = snapshots_[from % kept];
    GameOutput& output = game_output();
    set_game_output(&silence);
    for (std::uint32_t t = from; t < tick(); ++t) {
        used_remote_[t] = remote_at(t);
        play(t);
        if (!game_running())
            forget_after(t);
    }
    set_game_output(&output);
    present_between_ticks(redraw_game);
    return static_cast<int>(played - from);
}

bool RollbackSession::finished() const {
    return !game_running() && remote_known() >= tick() && first_wrong_ == UINT32_MAX;
}

std::span<const SideInput> RollbackSession::local_inputs(std::uint32_t first,
                                                         std::size_t count) const {
    if (first >= tick())
        return {};
    return std::span(local_).subspan(first, std::min<std::size_t>(count, tick() - first));
}

bool RollbackSession::checksum_before(std::uint32_t t, std::uint64_t& checksum) const {
    if (t > tick() || t + kept <= tick())
        return false;
    checksum = state_checksum(t == tick() ? game_state : snapshots_[t % kept]);
    return true;
}

InputFrame RollbackSession::frame(std::uint32_t t) const {
    const SideInput remote = remote_at(t);
    return local_side_ == 0 ? merged_frame(local_[t], remote) : merged_frame(remote, local_[t]);
}

void RollbackSession::forget_after(std::uint32_t t) {
    local_.resize(t + 1);
    used_remote_.resize(t + 1);
}

SideInput RollbackSession::remote_at(std::uint32_t t) const {
    if (t < remote_known())
        return remote_[t];
    // Held keys stay held; a press of Esc or F1 acts on one tick only.
    return remote_.empty() ? 0 : remote_.back() & side_actions;
}

void RollbackSession::play(std::uint32_t t) {
    snapshots_[t % kept] = game_state;
    run_tick(frame(t));
}
