// One reset puts a program that has played back to how it started, so that
// no test sees what the one before it left behind.

#include <gtest/gtest.h>

#include "app/high_scores.h"
#include "app/loaded_assets.h"
#include "app/playfield_output.h"
#include "app/program_state.h"
#include "app/window_proc.h"
#include "game/game_output.h"
#include "game/player.h"
#include "game/playfield.h"
#include "game/session.h"
#include "gfx/game_graphics.h"
#include "gfx/tile_set.h"
#include "res/resource.h"

namespace {

using ProgramState = LoadedAssetsTest;

TEST_F(ProgramState, AResetReleasesEverythingAndRestoresTheStartValues) {
    GameOutput& silent = game_output();
    attach_playfield_output();
    players[1].score = 99;
    player_count = 2;
    set_board_geometry(players[1]);
    use_english = quit_requested = window_destroyed = true;
    new_entry_row = 3;
    high_scores[0].score = 5;
    resource_size = 77;
    reset_program_state();
    EXPECT_EQ(&game_output(), &silent);
    EXPECT_FALSE(display.direct_draw || display.window || display.back_buffer);
    EXPECT_FALSE(game_font.surface || background_surface || tile_table[1][0] || game_over_sprite);
    EXPECT_EQ(players[1].score, 0);
    EXPECT_EQ(player_count, 1);
    EXPECT_EQ(board_left, 220);
    EXPECT_FALSE(use_english || quit_requested || window_destroyed);
    EXPECT_EQ(new_entry_row, -1);
    EXPECT_EQ(high_scores[0].score, 0);
    EXPECT_EQ(resource_size, 0u);
}

} // namespace
