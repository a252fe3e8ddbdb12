#include "app/playfield_output.h"

#include "audio/sound_effects.h"
#include "game/game_output.h"
#include "game/player.h"
#include "game/playfield.h"
#include "gfx/display.h"
#include "gfx/game_graphics.h"
#include "gfx/palette.h"

namespace {

class PlayfieldOutput final : public GameOutput {
  public:
    void erase_piece(const PlayerRecord& player) override { ::erase_piece(player); }
    void draw_piece(const PlayerRecord& player) override { ::draw_piece(player); }
    void redraw_playfield() override { ::redraw_playfield(); }
    void draw_game_over(const PlayerRecord& player) override { ::draw_game_over(player); }
    void draw_paused() override { ::draw_paused(); }
    void present_frame() override { ::present_frame(); }
    void show_game_palette() override { set_palette(game_palette); }
    void play_effect(SoundEffect effect) override { ::play_effect(effect); }
};

PlayfieldOutput playfield_output;

} // namespace

void attach_playfield_output() {
    set_game_output(&playfield_output);
}
