#pragma once

#include <SDL.h>

namespace sdl {

// Keeps presents to the display's refresh rate (60 Hz when it is unknown),
// also where the driver does not wait for the refresh itself (software
// rendering, virtual displays): screens that move one step per present then
// run at the same speed everywhere.
class Pacer {
  public:
    explicit Pacer(SDL_Window* window);
    void wait_for_next_refresh();
    double refresh_rate() const { return rate_; }

  private:
    double rate_;
    Uint64 period_;
    Uint64 next_due_ = 0;
};

} // namespace sdl
