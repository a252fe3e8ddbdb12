#pragma once

// The title screen, the game's only menu: 1 or 2 choose the players and
// start the falling-piece mode, B starts the blob mode, Space or Return
// skips the slide-in or starts a game, Escape ends the program.

// Returns with player_count set to 1 or 2, game_mode set to Blob,
// quit_requested set, or nothing changed (start with the current choice).
// game_mode is Blokit on return unless B chose the blob mode.
void run_title_screen();
