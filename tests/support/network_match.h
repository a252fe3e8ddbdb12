#pragma once

// Two sides of a network game in one process, each with its own game state,
// joined by a simulated network that delays, jitters, loses, duplicates and
// so reorders packets, all drawn from one seed. Time is virtual.

#include <cstdint>

#include "game/player.h"

struct NetworkConditions {
    std::uint32_t delay_ms = 60;  // each way
    std::uint32_t jitter_ms = 15; // added to the delay, 0 up to this
    int loss_percent = 5;
    int duplicate_percent = 2;
};

struct MatchFigures {
    std::uint64_t final_checksum[2] = {0, 0};
    std::uint32_t ticks = 0;              // of the game, as both sides agree
    std::uint32_t elapsed_ms = 0;         // virtual time until both had finished
    std::uint32_t waits = 0;              // ticks due that a side could not play
    std::uint32_t slowdowns = 0;          // ticks a side let pass to let the other catch up
    std::uint32_t rolled_back = 0;        // ticks played again, both sides together
    std::uint64_t bytes_sent[2] = {0, 0}; // by each side, UDP payload
    bool out_of_step = false;             // the checksums of a second of play differed
    bool finished = false;
};

// Plays one game of `mode` between two sides pressing random keys (with
// rare Esc and F1 presses), and returns what happened.
MatchFigures play_network_match(GameMode mode, std::uint32_t seed,
                                const NetworkConditions& conditions);
