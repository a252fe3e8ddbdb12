#pragma once

namespace sdl {

// Once the connection to the X server is lost, nothing the program does can
// reach the player any more, and the ordinary way out would hang: SDL tears
// its windows down at exit by waiting for replies that never come, on a
// processor of its own. The program ends at once instead.
void end_when_display_is_lost();

} // namespace sdl
