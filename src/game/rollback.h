#pragma once

// Both boards of a network game, run on each machine from both sides'
// inputs. The other side's input for a tick not yet heard of is predicted
// as its last known actions; when the real input differs, the state is put
// back to the snapshot before that tick and the ticks since are played
// again in silence. The game runs in game_state; the caller has started it.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "game/game_output.h"
#include "game/game_state.h"
#include "game/input_frame.h"
#include "game/net_protocol.h"

// The most ticks played again at once: a side never runs further ahead of
// the other side's inputs than this.
constexpr int max_rollback_ticks = 8;

// The tick's inputs of both boards: the host (side 0) steers the left board,
// the joiner (side 1) the right one; Esc of either ends the game, F1 of the
// joiner is the key-set change of the right board.
InputFrame merged_frame(SideInput host, SideInput joiner);

// Draws with `draw` and presents, between ticks: what is drawn there is no
// part of the game, so the state keeps its screen_dirty as both sides have
// it.
template <class Draw> void present_between_ticks(Draw draw) {
    const std::uint8_t dirty = game_state.screen_dirty;
    draw(game_output());
    game_output().present_frame();
    game_state.screen_dirty = dirty;
}

// The playfield as the last tick left it, the game-over picture over each
// finished board included.
void redraw_game(GameOutput& output);

class RollbackSession {
  public:
    // `local_side`: 0 on the host, 1 on the joiner.
    explicit RollbackSession(int local_side) : local_side_(local_side) {}

    // The next tick to play, counted from 0 at the game's start.
    std::uint32_t tick() const { return static_cast<std::uint32_t>(local_.size()); }
    // Ticks of which the other side's input is known.
    std::uint32_t remote_known() const { return static_cast<std::uint32_t>(remote_.size()); }
    // False while a tick would run further ahead than the rollback allows,
    // or once the game has ended here.
    bool can_advance() const;
    // Plays the next tick with this side's input and the prediction.
    void advance(SideInput local);
    // The other side's inputs from tick `first` on. Inputs already known
    // are kept as they were; ones far beyond this side's tick are ignored.
    void add_remote(std::uint32_t first, std::span<const SideInput> inputs);
    // Plays again from the first tick whose prediction proved wrong, with
    // nothing drawn or heard, then redraws the playfield. Returns the ticks
    // played again.
    int reconcile();
    // The game has ended on inputs both sides agree on.
    bool finished() const;
    // This side's inputs from tick `first` on, at most `count`.
    std::span<const SideInput> local_inputs(std::uint32_t first, std::size_t count) const;
    // The checksum of the state before `tick`, while its snapshot is kept.
    bool checksum_before(std::uint32_t tick, std::uint64_t& checksum) const;
    // The inputs of both sides of every tick played, as replay frames; valid
    // once finished().
    InputFrame frame(std::uint32_t tick) const;

  private:
    static constexpr std::size_t kept = max_rollback_ticks + 1;
    SideInput remote_at(std::uint32_t tick) const;
    void play(std::uint32_t tick);
    // The game ended at `tick` after all: the ticks after it were never.
    void forget_after(std::uint32_t tick);

    int local_side_;
    std::vector<SideInput> local_;
    std::vector<SideInput> remote_;
    // The other side's input each tick was played with.
    std::vector<SideInput> used_remote_;
    // snapshots_[t % kept] is the state before tick t.
    std::array<GameState, kept> snapshots_{};
    std::uint32_t first_wrong_ = UINT32_MAX;
};
