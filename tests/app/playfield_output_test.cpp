#include "app/playfield_output.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/assets.h"
#include "app/loaded_assets.h"
#include "game/driver.h"
#include "game/game_output.h"
#include "game/game_test_support.h"
#include "game/playfield.h"
#include "game/session.h"
#include "gfx/font.h"
#include "gfx/palette.h"
#include "gfx/tile_set.h"
#include "platform/headless/headless.h"
#include "platform/headless/screen.h"
#include "platform/keyboard.h"

namespace {

class PlayfieldOutputTest : public LoadedAssetsTest {
  protected:
    void SetUp() override {
        LoadedAssetsTest::SetUp();
        attach_playfield_output();
    }
    void TearDown() override {
        set_game_output(nullptr);
        LoadedAssetsTest::TearDown();
    }

    // The back buffer as it is now.
    static Surface snapshot() {
        Surface copy;
        display.direct_draw->create_surface(640, 480, copy);
        copy_screen(copy, display.back_buffer);
        return copy;
    }
};

// Where `picture` (a sprite drawn keyed) differs from `before` inside the
// block: only where the sprite is not transparent.
bool keyed_over(const Surface& before, int x, int y, const Surface& picture) {
    platform::LockedPixels out;
    platform::LockedPixels old;
    platform::LockedPixels sprite;
    display.back_buffer->lock(out);
    before->lock(old);
    picture->lock(sprite);
    bool right = true;
    for (int row = 0; row < sprite.height; ++row)
        for (int column = 0; column < sprite.width; ++column) {
            const std::uint8_t s = sprite.pixels[row * sprite.pitch + column];
            const std::size_t at = std::size_t(y + row) * out.pitch + x + column;
            const std::uint8_t expected = s != 0 ? s : old.pixels[at];
            right = right && out.pixels[at] == expected;
        }
    picture->unlock();
    before->unlock();
    display.back_buffer->unlock();
    return right;
}

TEST_F(PlayfieldOutputTest, GameOverPictureCoversTheFinishedBoardKeyed) {
    player_count = 2;
    players[0].index = 0;
    players[1].index = 1;
    players[1].board.fill(6);
    game_output().redraw_playfield();
    const Surface before = snapshot();
    screen_dirty = 0;
    game_output().draw_game_over(players[1]);
    // The tick presents this picture itself; the flag is for the playfield's own drawing.
    EXPECT_EQ(screen_dirty, 0);
    expect_golden_screen("game_over_two_players");
    ASSERT_TRUE(game_over_sprite && game_over_sprite->surface);
    EXPECT_TRUE(keyed_over(before, 370 + 30, 8 + 140, game_over_sprite->surface));
    EXPECT_FALSE(same_block(display.back_buffer, 400, 148, before, 400, 148, 160, 140));
    // The other board is untouched.
    EXPECT_TRUE(same_block(display.back_buffer, 0, 0, before, 0, 0, 370, 480));
}

TEST_F(PlayfieldOutputTest, ATickWithOnlyAFinishedBoardPresentsOnce) {
    player_count = 2;
    start_game();
    run_ticks(1); // shows the start's drawing
    players[0].state = 99;
    fall_countdown = 5;
    const std::uint64_t frames = headless::frames_presented();
    run_ticks(1);
    EXPECT_EQ(headless::frames_presented(), frames + 1);
}

TEST_F(PlayfieldOutputTest, PausedStandsInTheMiddleAndPresentingShowsIt) {
    game_output().redraw_playfield();
    const Surface before = snapshot();
    screen_dirty = 0;
    game_output().draw_paused();
    EXPECT_EQ(screen_dirty, 0);
    expect_golden_screen("paused");
    Surface expected = snapshot();
    copy_screen(expected, before);
    draw_text(game_font, expected, 320 - 48, 240 - 7, "PAUSED");
    EXPECT_TRUE(same_block(display.back_buffer, 0, 0, expected, 0, 0, 640, 480));
    EXPECT_FALSE(same_block(display.back_buffer, 272, 233, before, 272, 233, 96, 14));

    const std::uint64_t frames = headless::frames_presented();
    game_output().present_frame();
    EXPECT_EQ(headless::frames_presented(), frames + 1);
    const headless::Frame* frame = headless::last_frame();
    ASSERT_NE(frame, nullptr);
    platform::LockedPixels locked;
    ASSERT_EQ(expected->lock(locked), platform::Result::Ok);
    int differing = 0;
    for (int y = 233; y < 247; ++y)
        for (int x = 272; x < 368; ++x)
            differing += frame->at(x, y) != locked.pixels[y * locked.pitch + x];
    expected->unlock();
    EXPECT_EQ(differing, 0);
}

TEST_F(PlayfieldOutputTest, GamePaletteBecomesTheDisplayPalette) {
    set_palette(Palette{});
    game_output().show_game_palette();
    bool any_colour = false;
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(palette_entries[i].red >> 2, game_palette[3 * i]);
        any_colour = any_colour || game_palette[3 * i] != 0;
    }
    EXPECT_TRUE(any_colour);
}

TEST_F(PlayfieldOutputTest, PlayedGameShowsItsRecords) {
    use_english = true;
    start_game();
    // Drop pieces with Ctrl, one press every few ticks.
    for (int drop = 0; drop < 12; ++drop) {
        const std::uint64_t now = headless::now();
        hold_key(platform::vk::Control, now + 1, now + 60);
        run_ticks(6);
    }
    ASSERT_GT(players[0].state, 0);
    game_output().redraw_playfield();
    const PlayerRecord& player = players[0];
    const auto piece = piece_cells(player.piece);
    int filled = 0;
    for (int column = 0; column < board_columns; ++column)
        for (int row = 0; row < board_rows; ++row) {
            if (std::find(piece.begin(), piece.end(), std::pair{column, row}) != piece.end())
                continue;
            const int colour = player.cell(column, row);
            const Sprite* tile =
                colour ? tile_table[colour][connection_mask(player, column, row)].get()
                       : tile_table[0][0].get();
            filled += colour != 0;
            EXPECT_TRUE(same_block(display.back_buffer, 220 + 20 * column, 8 + 20 * row,
                                   tile->surface, 0, 0, 20, 20))
                << column << ", " << row;
        }
    EXPECT_GT(filled, 0);
}

} // namespace
