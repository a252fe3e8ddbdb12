#include "platform/sdl/pacer.h"

#include <chrono>
#include <thread>

namespace sdl {
namespace {

constexpr double default_rate = 60;

double rate_of(SDL_Window* window) {
    SDL_DisplayMode mode{};
    if (SDL_GetWindowDisplayMode(window, &mode) == 0 && mode.refresh_rate > 0)
        return mode.refresh_rate;
    return default_rate;
}

} // namespace

Pacer::Pacer(SDL_Window* window)
    : rate_(rate_of(window)),
      period_(static_cast<Uint64>(static_cast<double>(SDL_GetPerformanceFrequency()) / rate_)) {}

void Pacer::wait_for_next_refresh() {
    const Uint64 frequency = SDL_GetPerformanceFrequency();
    const Uint64 now = SDL_GetPerformanceCounter();
    // After a pause longer than a frame the rhythm starts afresh instead of
    // rushing to catch up.
    if (next_due_ == 0 || now > next_due_ + period_)
        next_due_ = now;
    // One sleep to the microsecond: waiting by milliseconds and spinning
    // through the rest would keep a core busy for part of every frame.
    if (now < next_due_)
        std::this_thread::sleep_for(
            std::chrono::microseconds((next_due_ - now) * 1000000 / frequency));
    next_due_ += period_;
}

} // namespace sdl
