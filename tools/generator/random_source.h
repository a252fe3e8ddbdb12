#pragma once

#include <cstdint>

// A small fixed pseudo-random sequence, so that every build draws the same
// stars and hisses the same noise.
class RandomSource {
  public:
    explicit RandomSource(std::uint32_t seed) : state_(seed) {}

    std::uint32_t next() {
        state_ = state_ * 1664525u + 1013904223u;
        return state_ >> 8;
    }
    // A value in [0, 1).
    double uniform() { return double(next()) / double(1u << 24); }
    // A value in [-1, 1).
    double signed_unit() { return 2.0 * uniform() - 1.0; }
    // An integer in [0, bound).
    int below(int bound) { return int(next() % std::uint32_t(bound)); }

  private:
    std::uint32_t state_;
};
