#pragma once

// Pieces shared by the screens that follow a game: centred text, the shaded
// band laid under a highlighted line, the keys that leave a screen and one
// pass of a screen's waiting loop.

#include <cstdint>

#include "game/session.h"
#include "gfx/font.h"
#include "platform/clock.h"
#include "platform/messages.h"

// Draws `text` in `font`, transparent, into the back buffer at y, centred on
// the screen with the font's glyph width as the advance.
void draw_centred_text(const Font& font, int y, const char* text);

// Fills a band two glyph heights high from row `top` across the screen with
// palette indices 80 on, each step one pixel further in from every edge.
void draw_shaded_band(int top);

// Escape, Return or Space is down (tested in that order).
bool screen_exit_key_down();

// One pass of a screen's waiting loop: handles one waiting window message
// and says so; otherwise sleeps while the game is not the active
// application, or, once the millisecond count has moved on from `last`,
// notes the time and does `step`. These screens change only when a key is
// pressed, so a pass may sleep until one is.
template <class Step> bool screen_loop_pass(std::uint32_t& last, Step step) {
    if (pump_message(input_wait_due()))
        return true;
    if (app_active == 0) {
        platform::wait_message();
        return false;
    }
    const std::uint32_t now = platform::time_ms();
    if (now == last)
        return false;
    last = now;
    step();
    return false;
}
