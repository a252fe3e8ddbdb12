#include "app/playfield_output.h"

#include "app/assets.h"
#include "audio/sound_effects.h"
#include "game/game_output.h"
#include "game/player.h"
#include "game/playfield.h"
#include "gfx/display.h"
#include "gfx/font.h"
#include "gfx/palette.h"
#include "gfx/sprite.h"
#include "gfx/tile_set.h"

namespace {

// Where the game-over picture lies on a finished board.
constexpr int game_over_x = 30;
constexpr int game_over_y = 140;

// The game-over picture and "PAUSED" leave screen_dirty alone: the driver
// presents them itself, and the flag would cost a second present in the same
// tick.
class PlayfieldOutput final : public GameOutput {
  public:
    void erase_piece(const PlayerRecord& player) override { ::erase_piece(player); }
    void draw_piece(const PlayerRecord& player) override { ::draw_piece(player); }
    void redraw_playfield() override { ::redraw_playfield(); }
    void draw_game_over(const PlayerRecord& player) override {
        set_board_geometry(player);
        draw_sprite_keyed(game_over_sprite.get(), display.back_buffer, board_left + game_over_x,
                          board_top + game_over_y);
    }
    void draw_paused() override {
        draw_text(game_font, display.back_buffer,
                  display.screen_width / 2 - 3 * game_font.glyph_width,
                  display.screen_height / 2 - game_font.glyph_height / 2, "PAUSED");
    }
    void present_frame() override { ::present_frame(); }
    void show_game_palette() override { set_palette(game_palette); }
    void play_effect(SoundEffect effect) override { ::play_effect(effect); }
};

PlayfieldOutput playfield_output;

} // namespace

void attach_playfield_output() {
    set_game_output(&playfield_output);
}
