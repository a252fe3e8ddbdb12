#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "data/sheet_surface.h"
#include "game_palette.h"
#include "gfx/tile_set.h"

namespace {

constexpr int top = 1, right = 2, bottom = 4, left = 8;

class TileSetTest : public HeadlessDisplayTest {
  protected:
    void SetUp() override {
        HeadlessDisplayTest::SetUp();
        Surface sheet = load_sheet_surface("STEINES.PIX");
        ASSERT_TRUE(sheet);
        cut_tile_set(sheet);
    }
    void TearDown() override {
        release_tile_set();
        HeadlessDisplayTest::TearDown();
    }
};

struct SpritePixels {
    int width;
    int height;
    std::vector<std::uint8_t> pixels;
    std::uint8_t at(int x, int y) const { return pixels[std::size_t(y * width + x)]; }
};

SpritePixels pixels_of(const std::unique_ptr<Sprite>& sprite) {
    return {sprite->width, sprite->height, surface_pixels(sprite->surface)};
}

// The pixels along one side of a tile, without the two corners' worth of
// rounding at either end.
std::vector<std::uint8_t> outer_line(const SpritePixels& tile, int side) {
    std::vector<std::uint8_t> line;
    for (int i = 3; i < 17; ++i) {
        switch (side) {
        case top:
            line.push_back(tile.at(i, 0));
            break;
        case right:
            line.push_back(tile.at(19, i));
            break;
        case bottom:
            line.push_back(tile.at(i, 19));
            break;
        case left:
            line.push_back(tile.at(0, i));
            break;
        }
    }
    return line;
}

bool in_ramp(Ramp ramp, std::uint8_t index) {
    return index >= ramp.first && index < ramp.first + ramp.length;
}

void expect_size(const std::unique_ptr<Sprite>& sprite, int width, int height) {
    ASSERT_TRUE(sprite);
    EXPECT_EQ(sprite->width, width);
    EXPECT_EQ(sprite->height, height);
}

TEST_F(TileSetTest, EverySpriteIsCutWithItsSize) {
    expect_size(tile_table[0][0], 20, 20);
    for (int v = 1; v < 17; ++v) {
        EXPECT_FALSE(tile_table[0][std::size_t(v)]) << v;
    }
    for (std::size_t c = 1; c < 8; ++c) {
        for (std::size_t v = 0; v < 17; ++v) {
            expect_size(tile_table[c][v], 20, 20);
        }
    }
    expect_size(board_side_sprite, 4, 460);
    expect_size(board_bottom_sprite, 208, 4);
    expect_size(game_over_sprite, 160, 140);
}

TEST_F(TileSetTest, OpenSidesShowAnEdgeAndClosedSidesRunOnInTheTilesColour) {
    for (int c = 1; c <= 7; ++c) {
        const Ramp ramp = colours::tile(c);
        const std::uint8_t edge = ramp.entry(0);
        for (int v = 0; v < 16; ++v) {
            SCOPED_TRACE("colour " + std::to_string(c) + " variant " + std::to_string(v));
            const SpritePixels tile = pixels_of(tile_table[std::size_t(c)][std::size_t(v)]);
            for (int side : {top, right, bottom, left}) {
                for (std::uint8_t pixel : outer_line(tile, side)) {
                    if (v & side) {
                        ASSERT_EQ(pixel, edge) << "open side " << side;
                    } else {
                        ASSERT_NE(pixel, edge) << "closed side " << side;
                        ASSERT_TRUE(in_ramp(ramp, pixel)) << "closed side " << side;
                    }
                }
            }
            EXPECT_TRUE(in_ramp(ramp, tile.at(10, 10)));
        }
    }
}

TEST_F(TileSetTest, CornersOfTwoOpenSidesAreRoundedOntoTheEmptyCell) {
    const SpritePixels empty = pixels_of(tile_table[0][0]);
    const SpritePixels lone = pixels_of(tile_table[3][15]);
    const SpritePixels joined = pixels_of(tile_table[3][0]);
    for (auto [x, y] : {std::pair{0, 0}, {19, 0}, {0, 19}, {19, 19}}) {
        EXPECT_EQ(lone.at(x, y), empty.at(x, y));
        EXPECT_TRUE(in_ramp(colours::tile(3), joined.at(x, y)));
    }
}

TEST_F(TileSetTest, TheColoursAreFarApartAndTheEmptyCellIsDarkerThanAll) {
    const Palette palette = make_game_palette();
    const auto rgb = [&](std::uint8_t index) {
        const std::size_t at = std::size_t(3 * index);
        return std::array<int, 3>{palette[at], palette[at + 1], palette[at + 2]};
    };
    const SpritePixels empty = pixels_of(tile_table[0][0]);
    const int empty_brightest = *std::max_element(
        empty.pixels.begin(), empty.pixels.end(), [&](std::uint8_t a, std::uint8_t b) {
            auto ca = rgb(a), cb = rgb(b);
            return ca[0] + ca[1] + ca[2] < cb[0] + cb[1] + cb[2];
        });
    const auto empty_rgb = rgb(std::uint8_t(empty_brightest));
    for (int a = 1; a <= 7; ++a) {
        const auto body_a = rgb(pixels_of(tile_table[std::size_t(a)][0]).at(10, 14));
        EXPECT_GT(body_a[0] + body_a[1] + body_a[2],
                  3 * (empty_rgb[0] + empty_rgb[1] + empty_rgb[2]));
        for (int b = a + 1; b <= 7; ++b) {
            const auto body_b = rgb(pixels_of(tile_table[std::size_t(b)][0]).at(10, 14));
            const double distance =
                std::hypot(body_a[0] - body_b[0], body_a[1] - body_b[1], body_a[2] - body_b[2]);
            EXPECT_GT(distance, 15.0) << a << " and " << b;
        }
    }
}

TEST_F(TileSetTest, TheGameOverPictureLetsTheBoardShowAroundItsPanel) {
    const SpritePixels picture = pixels_of(game_over_sprite);
    for (auto [x, y] : {std::pair{0, 0}, {159, 0}, {0, 139}, {159, 139}}) {
        EXPECT_EQ(picture.at(x, y), 0);
    }
    const auto covered = std::count_if(picture.pixels.begin(), picture.pixels.end(),
                                       [](std::uint8_t index) { return index != 0; });
    EXPECT_GT(covered, 160 * 140 * 3 / 4);
}

TEST_F(TileSetTest, TheFrameStripsAreOpaque) {
    for (const auto* sprite : {&board_side_sprite, &board_bottom_sprite}) {
        const SpritePixels strip = pixels_of(*sprite);
        EXPECT_EQ(std::count(strip.pixels.begin(), strip.pixels.end(), 0), 0);
    }
}

} // namespace
