#pragma once

// M switches the music off and on, once per press. It is no rule of the
// game: the title screen, the game loop and the pause test it on every pass
// of their waiting loops, outside the game's ticks.
void check_music_key();
