#pragma once

// The X connection beneath SDL. SDL's look at the display reads the
// connection several times and polls every kind of device, whether or not
// anything came; a game tick that only finds the display quiet need not
// pay for that, nor for SDL's wait, which looks twice before it sleeps.

namespace sdl {

// True when the display is X11 and has sent nothing that SDL has not seen
// (one read attempt on the connection); false when that cannot be told.
bool display_is_quiet();

enum class DisplayWait { Readable, TimedOut, Unavailable };

// Sleeps on the X connection until the display sends something or
// `timeout_ms` have passed; Unavailable when the display is not X11.
DisplayWait wait_on_display(int timeout_ms);

} // namespace sdl
