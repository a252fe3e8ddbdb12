#pragma once

// The screen after a two-player game: over the final playfield, one shaded
// band per player with the games that player has won since the program
// started, until Space, Escape or Return.
void show_match_result();

// The bands of that screen over the playfield, presented.
void draw_match_result();
