#pragma once

// What the SDL backend's parts share: the game's window and its visible
// surface.

#include <cstdint>
#include <vector>

#include <SDL.h>

#include "platform/messages.h"

namespace sdl {

// The window's visible picture.
class Screen {
  public:
    virtual ~Screen() = default;
    // Puts the last shown picture on the screen again (after the window was
    // uncovered or resized).
    virtual void repaint() = 0;
    virtual bool read(std::vector<std::uint32_t>& pixels, int& width, int& height) = 0;
    virtual double rate() const = 0;
};

struct Backend {
    SDL_Window* window = nullptr;
    bool window_destroyed = false;
    Screen* screen = nullptr;
    int cursor_count = 0;
    bool cursor_hidden_by_window = false;
};

Backend& backend();

// Starts SDL's video (and events) once; false when it cannot.
bool start_video();

// Lets SDL read the display and its devices, at most once a millisecond
// and, while an X display has sent nothing, only now and then: each look is
// a round of system calls, and a game tick would otherwise look several
// times in a row (for its keys, its messages, before it sleeps).
void look_at_display();

// Sleeps until SDL has an event or `timeout_ms` have passed, looking at the
// display when it wakes with something to read; true when an event came.
bool wait_for_events(int timeout_ms);

// Moves SDL's pending events into the message queue.
void pump_events();

// Applies the cursor count and the window's cursor choice.
void update_cursor();

// Alt+Return and F11 switch the window between a window and the whole
// desktop; only the presentation changes, the picture keeps its size.
bool toggles_fullscreen(const SDL_Keysym& key);
void toggle_fullscreen();

} // namespace sdl
