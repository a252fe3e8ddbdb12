#pragma once

// The application's output for the game rules: it forwards to the playfield
// drawing (game/playfield.h), presenting, the game palette and the sound
// effects.

// Attaches the playfield output to the rules; it lasts for the whole run.
void attach_playfield_output();
