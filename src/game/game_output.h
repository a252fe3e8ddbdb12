#pragma once

#include "audio/sound_effect.h"

struct PlayerRecord;

// Where the rules show and sound what happens. The rules call these at fixed
// points and never read anything back, so a game plays the same whether
// anything is attached or not. By default nothing is drawn or heard; the
// application attaches its drawing and sound here.
class GameOutput {
  public:
    virtual ~GameOutput() = default;
    virtual void erase_piece(const PlayerRecord&) {}
    virtual void draw_piece(const PlayerRecord&) {}
    virtual void redraw_playfield() {}
    // The game-over picture over a finished board.
    virtual void draw_game_over(const PlayerRecord&) {}
    // The "PAUSED" text in the middle of the screen.
    virtual void draw_paused() {}
    virtual void present_frame() {}
    // Makes the palette of the background picture the display palette.
    virtual void show_game_palette() {}
    virtual void play_effect(SoundEffect) {}
};

GameOutput& game_output();

// Attaches an output; nullptr goes back to the silent default. The output
// must outlive its attachment.
void set_game_output(GameOutput* output);
