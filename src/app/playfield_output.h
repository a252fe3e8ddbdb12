#pragma once

// The application's drawing and sound for the game rules: the playfield into
// the back buffer, the game-over picture, "PAUSED", presenting, the game
// palette and the sound effects.

// Attaches the playfield output to the rules; it lasts for the whole run.
void attach_playfield_output();
