#include "app/program_state.h"

#include "app/high_scores.h"
#include "app/window_proc.h"
#include "audio/music.h"
#include "audio/sound_effects.h"
#include "game/blobs.h"
#include "game/game_output.h"
#include "game/player.h"
#include "game/playfield.h"
#include "game/random.h"
#include "game/session.h"
#include "gfx/display.h"
#include "gfx/game_graphics.h"
#include "gfx/palette.h"
#include "gfx/tile_set.h"
#include "res/resource.h"

void reset_program_state() {
    music_stop();
    music_on = true;
    release_sound_effects();
    release_tile_set();
    background_surface.reset();
    game_font = Font{};
    close_display();
    display = Display{};
    game_palette = {};
    palette_entries = {};
    resource_base = 0;
    resource_size = 0;
    tree_search_found = false;
    reset_game_values();
    reset_board_geometry();
    group_list = {};
    seed_game_random(0);
    set_game_output(nullptr);
    quit_requested = false;
    app_active = 0;
    use_english = false;
    shutting_down = false;
    high_scores = {};
    high_score_directory = std::filesystem::path();
    new_entry_row = -1;
    name_key_latch = false;
    surfaces_need_restore = false;
    window_destroyed = false;
}
