#include "gfx/sprite.h"
#include "gfx/tile_set.h"
#include "gfx_fixture.h"

#include <vector>

namespace {

using platform::Result;

// Sheet pixel (x, y) holds x + 1 (1 to 20 across a 20-pixel sprite).
std::uint8_t column_number(int x, int) {
    return static_cast<std::uint8_t>(x + 1);
}

class Sprites : public GfxTest {
  protected:
    void SetUp() override {
        GfxTest::SetUp();
        sheet = make_surface(40, 40, column_number);
        sprite = make_sprite(sheet, 0, 0, 20, 20);
        clear_back_buffer(0);
    }
    Surface sheet;
    std::unique_ptr<Sprite> sprite;
};

TEST_F(Sprites, ASpriteIsItsOwnSurfaceCutFromTheSheet) {
    const auto cut = make_sprite(sheet, 5, 2, 12, 6);
    EXPECT_EQ(cut->width, 7);
    EXPECT_EQ(cut->height, 4);
    ASSERT_NE(cut->surface, nullptr);
    EXPECT_EQ(cut->surface->width(), 7);
    EXPECT_EQ(cut->surface->height(), 4);
    EXPECT_EQ(pixel(cut->surface, 0, 0), 6);
    EXPECT_EQ(pixel(cut->surface, 6, 3), 12);
}

TEST_F(Sprites, ASpriteWhoseSurfaceCannotBeMadeDrawsNothing) {
    headless::fail_video_call(headless::VideoCall::CreateSurface, Result::OutOfMemory);
    const auto failed = make_sprite(sheet, 0, 0, 20, 20);
    EXPECT_EQ(failed->surface, nullptr);
    draw_sprite(failed.get(), display.back_buffer, 0, 0);
    draw_sprite(nullptr, display.back_buffer, 0, 0);
    EXPECT_EQ(count_not(display.back_buffer, 0), 0);
}

TEST_F(Sprites, ClippingAtTheLeftShowsTheRightColumns) {
    draw_sprite(sprite.get(), display.back_buffer, -5, 10);
    EXPECT_EQ(pixel(display.back_buffer, 0, 10), 6);   // sprite column 5
    EXPECT_EQ(pixel(display.back_buffer, 14, 29), 20); // sprite column 19
    EXPECT_EQ(pixel(display.back_buffer, 15, 10), 0);
    EXPECT_EQ(count_not(display.back_buffer, 0), 15 * 20);
}

TEST_F(Sprites, ClippingAtTheBottomRightShowsTheTopLeftCorner) {
    draw_sprite(sprite.get(), display.back_buffer, 630, 470);
    EXPECT_EQ(pixel(display.back_buffer, 630, 470), 1);
    EXPECT_EQ(pixel(display.back_buffer, 639, 479), 10);
    EXPECT_EQ(count_not(display.back_buffer, 0), 10 * 10);
}

TEST_F(Sprites, ClippingAtTheTopDropsTheUpperRows) {
    const auto rows =
        make_sprite(make_surface(2, 20, [](int, int y) { return y + 1; }), 0, 0, 2, 20);
    draw_sprite(rows.get(), display.back_buffer, 100, -15);
    EXPECT_EQ(pixel(display.back_buffer, 100, 0), 16);
    EXPECT_EQ(pixel(display.back_buffer, 101, 4), 20);
    EXPECT_EQ(count_not(display.back_buffer, 0), 2 * 5);
}

TEST_F(Sprites, SpritesTouchingOrBeyondTheEdgeDrawNothing) {
    for (const auto& [x, y] : std::vector<std::pair<int, int>>{
             {-20, 0}, {0, -20}, {640, 0}, {0, 480}, {-2147483647 - 1, 0}, {2147483647, 5}})
        draw_sprite(sprite.get(), display.back_buffer, x, y);
    EXPECT_EQ(count_not(display.back_buffer, 0), 0);
}

TEST_F(Sprites, KeyedDrawingOfAnAllZeroSpriteLeavesTheTargetButOpaqueDrawingWritesZeros) {
    const auto blank = make_sprite(make_surface(20, 20, 0), 0, 0, 20, 20);
    clear_back_buffer(9);
    draw_sprite_keyed(blank.get(), display.back_buffer, 50, 50);
    EXPECT_EQ(count_not(display.back_buffer, 9), 0);
    draw_sprite(blank.get(), display.back_buffer, 50, 50);
    EXPECT_EQ(count_not(display.back_buffer, 9), 400);
    EXPECT_EQ(pixel(display.back_buffer, 69, 69), 0);
}

TEST_F(Sprites, ATargetSmallerThanTheScreenIsNeverWrittenOutside) {
    const Surface small = make_surface(30, 30, 0);
    draw_sprite(sprite.get(), small, 20, 20); // inside the screen, beyond the surface
    blit_rect(small, 25, 0, {0, 0, 20, 20}, sheet);
    EXPECT_EQ(count_not(small, 0), 0);
}

TEST_F(Sprites, CopyScreenReplacesEveryPixelAndASmallerSourceDrawsNothing) {
    copy_screen(display.back_buffer, make_surface(639, 480, 4));
    EXPECT_EQ(count_not(display.back_buffer, 0), 0);
    copy_screen(display.back_buffer, make_surface(640, 480, 4));
    EXPECT_EQ(count_not(display.back_buffer, 4), 0);
}

TEST_F(Sprites, BlitRectClipsItsSourceRectangleAtTheLeft) {
    const Surface picture = make_surface(640, 480, [](int x, int) { return x % 251 + 1; });
    blit_rect(display.back_buffer, -10, 0, {10, 0, 620, 244}, picture);
    EXPECT_EQ(pixel(display.back_buffer, 0, 0), 20 % 251 + 1);
    EXPECT_EQ(pixel(display.back_buffer, 599, 243), 619 % 251 + 1);
    EXPECT_EQ(pixel(display.back_buffer, 600, 0), 0);
    EXPECT_EQ(pixel(display.back_buffer, 0, 244), 0);
    EXPECT_EQ(count_not(display.back_buffer, 0), 600 * 244);
}

TEST_F(Sprites, BlitRectBeyondTheScreenOrWithAnInvertedRectangleDrawsNothing) {
    blit_rect(display.back_buffer, 641, 0, {0, 0, 10, 10}, sheet);
    blit_rect(display.back_buffer, 0, 481, {0, 0, 10, 10}, sheet);
    blit_rect(display.back_buffer, -11, 0, {0, 0, 10, 10}, sheet);
    blit_rect(display.back_buffer, 0, 0, {10, 10, 0, 0}, sheet);
    blit_rect(display.back_buffer, 0, 0, {-2147483647 - 1, 0, 2147483647, 10}, sheet);
    EXPECT_EQ(count_not(display.back_buffer, 0), 0);
}

TEST_F(Sprites, BlitRectKeyedLeavesIndexZeroOut) {
    const Surface striped = make_surface(4, 1, [](int x, int) { return x % 2 ? 3 : 0; });
    striped->set_color_key(0);
    clear_back_buffer(8);
    blit_rect_keyed(display.back_buffer, 0, 0, {0, 0, 4, 1}, striped);
    blit_rect(display.back_buffer, 0, 1, {0, 0, 4, 1}, striped);
    EXPECT_EQ(pixel(display.back_buffer, 0, 0), 8);
    EXPECT_EQ(pixel(display.back_buffer, 1, 0), 3);
    EXPECT_EQ(pixel(display.back_buffer, 0, 1), 0);
    EXPECT_EQ(pixel(display.back_buffer, 1, 1), 3);
}

// Which surfaces a primitive restores after a lost surface, and in which
// order: the table of the copy rules.
TEST_F(Sprites, LostSurfacesAreRestoredInTheListedOrderAndTheCopyIsRepeated) {
    const platform::Surface* back = display.back_buffer.get();
    const platform::Surface* own = sprite->surface.get();
    const platform::Surface* source = sheet.get();
    const Surface picture = make_surface(640, 480, 1);
    using Restores = std::vector<const platform::Surface*>;
    struct Case {
        const char* name;
        std::function<void()> draw;
        Restores expected;
    };
    const std::vector<Case> cases{
        {"draw_sprite", [&] { draw_sprite(sprite.get(), display.back_buffer, 0, 0); }, {back, own}},
        {"draw_sprite_keyed",
         [&] { draw_sprite_keyed(sprite.get(), display.back_buffer, 0, 0); },
         {back, own}},
        {"copy_screen", [&] { copy_screen(display.back_buffer, picture); }, {picture.get()}},
        {"blit_rect",
         [&] {
             blit_rect(display.back_buffer, 0, 0, {0, 0, 20, 20}, sheet);
         },
         {source, back}},
        {"blit_rect_keyed",
         [&] {
             blit_rect_keyed(display.back_buffer, 0, 0, {0, 0, 20, 20}, sheet);
         },
         {source}},
    };
    for (const Case& c : cases) {
        headless::reset();
        clear_back_buffer(0);
        headless::fail_next(*display.back_buffer, Result::SurfaceLost, 2);
        c.draw();
        EXPECT_NE(pixel(display.back_buffer, 0, 0), 0) << c.name << " gave up";
        Restores twice = c.expected;
        twice.insert(twice.end(), c.expected.begin(), c.expected.end());
        EXPECT_EQ(headless::restores(), twice) << c.name;
    }
}

TEST_F(Sprites, CopyScreenRestoresOnlyItsSource) {
    const Surface picture = make_surface(640, 480, 6);
    headless::fail_next(*picture, Result::SurfaceLost, 1);
    copy_screen(display.back_buffer, picture);
    EXPECT_EQ(headless::restores(), std::vector<const platform::Surface*>{picture.get()});
    EXPECT_EQ(count_not(display.back_buffer, 6), 0);
}

TEST_F(Sprites, BusyAndFailingCopiesAreRepeatedOrDroppedAsTheRuleSays) {
    headless::fail_next(*display.back_buffer, Result::WasStillDrawing, 3);
    draw_sprite(sprite.get(), display.back_buffer, 0, 0);
    EXPECT_EQ(pixel(display.back_buffer, 0, 0), 1);
    EXPECT_TRUE(headless::restores().empty());

    clear_back_buffer(0);
    headless::fail_next(*display.back_buffer, Result::Generic, 1);
    draw_sprite(sprite.get(), display.back_buffer, 0, 0);
    EXPECT_EQ(pixel(display.back_buffer, 0, 0), 0);
}

TEST_F(Sprites, ACopyThatIsLostForeverGivesUpInsteadOfHanging) {
    headless::fail_next(*display.back_buffer, Result::SurfaceLost, 1000000);
    draw_sprite(sprite.get(), display.back_buffer, 0, 0);
    EXPECT_LT(headless::restores().size(), 1000u);
    EXPECT_GT(headless::restores().size(), 0u);
}

TEST_F(Sprites, TheTileSetIsCutFromItsSheetRectangles) {
    // Every 4-pixel column group and 20-pixel row band of the sheet differs.
    const Surface tiles =
        make_surface(532, 460, [](int x, int y) { return x / 4 % 31 * 8 + y / 20 % 8 + 1; });
    tiles->set_color_key(0);
    cut_tile_set(tiles);
    EXPECT_EQ(tile_table[0][1], nullptr);
    ASSERT_NE(tile_table[0][0], nullptr);
    EXPECT_EQ(pixel(tile_table[0][0]->surface, 0, 0), pixel(tiles, 0, 380));
    for (int colour = 1; colour < 8; ++colour)
        for (int variant = 0; variant < 17; ++variant) {
            const Sprite* tile = tile_table[colour][variant].get();
            ASSERT_NE(tile, nullptr);
            EXPECT_EQ(tile->width, 20);
            EXPECT_EQ(pixel(tile->surface, 19, 19),
                      pixel(tiles, 20 * variant + 19, 20 * (colour - 1) + 19));
        }
    EXPECT_EQ(board_side_sprite->width, 4);
    EXPECT_EQ(board_side_sprite->height, 460);
    EXPECT_EQ(pixel(board_side_sprite->surface, 3, 459), pixel(tiles, 323, 459));
    EXPECT_EQ(board_bottom_sprite->width, 208);
    EXPECT_EQ(pixel(board_bottom_sprite->surface, 207, 3), pixel(tiles, 531, 3));
    EXPECT_EQ(game_over_sprite->height, 140);
    EXPECT_EQ(pixel(game_over_sprite->surface, 0, 0), pixel(tiles, 0, 140));
    release_tile_set();
    EXPECT_EQ(tile_table[7][16], nullptr);
    EXPECT_EQ(game_over_sprite, nullptr);
}

} // namespace
