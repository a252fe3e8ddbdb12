// Palette indices and colours as display pixels.

#include <gtest/gtest.h>

#include "res/pixel_conversion.h"

namespace {

constexpr DisplayFormat rgb565{640, 480, 16, 6};
constexpr DisplayFormat rgb555{640, 480, 16, 5};

Palette palette_with(int index, std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    Palette palette{};
    palette[3 * index] = red;
    palette[3 * index + 1] = green;
    palette[3 * index + 2] = blue;
    return palette;
}

TEST(IndexToPixel16, FiveSixFiveAndFiveFiveFive) {
    const Palette white = palette_with(7, 63, 63, 63);
    EXPECT_EQ(index_to_pixel16(7, white, rgb565), 0xFFFF);
    EXPECT_EQ(index_to_pixel16(7, white, rgb555), 0x7FFF);
    const Palette red = palette_with(200, 63, 0, 0);
    EXPECT_EQ(index_to_pixel16(200, red, rgb565), 0xF800);
    EXPECT_EQ(index_to_pixel16(200, red, rgb555), 0x7C00);
    const Palette green = palette_with(1, 0, 1, 0);
    EXPECT_EQ(index_to_pixel16(1, green, rgb565), 0x0020);
    EXPECT_EQ(index_to_pixel16(1, green, rgb555), 0x0000);
}

TEST(IndexToPixel16, EightBitDisplayKeepsTheIndex) {
    EXPECT_EQ(index_to_pixel16(201, palette_with(201, 63, 63, 63), {640, 480, 8, 0}), 201);
}

TEST(IndexToRgb24, ComponentsTimesFourInBlueGreenRedOrder) {
    EXPECT_EQ(index_to_rgb24(3, palette_with(3, 1, 2, 63)),
              (std::array<std::uint8_t, 3>{252, 8, 4}));
    // Components beyond 6 bits are kept to 8 bits after the multiplication.
    EXPECT_EQ(index_to_rgb24(3, palette_with(3, 64, 65, 255)),
              (std::array<std::uint8_t, 3>{252, 4, 0}));
}

TEST(RgbToPixel16, DropsTheLowBits) {
    EXPECT_EQ(rgb_to_pixel16(255, 0, 0, rgb565), 0xF800);
    EXPECT_EQ(rgb_to_pixel16(0, 255, 0, rgb565), 0x07E0);
    EXPECT_EQ(rgb_to_pixel16(0, 0, 255, rgb565), 0x001F);
    EXPECT_EQ(rgb_to_pixel16(255, 0, 0, rgb555), 0x7C00);
    EXPECT_EQ(rgb_to_pixel16(0, 255, 0, rgb555), 0x03E0);
    EXPECT_EQ(rgb_to_pixel16(7, 3, 7, rgb565), 0x0000);
    EXPECT_EQ(rgb_to_pixel16(8, 4, 8, rgb565), 0x0821);
}

TEST(ExpandIndices, InPlaceFromTheFrontOfTheBuffer) {
    Image image;
    image.width = 2;
    image.height = 2;
    image.palette = palette_with(1, 63, 0, 0);
    image.pixels = {0, 1, 1, 0, 0xEE, 0xEE, 0xEE, 0xEE};
    expand_indices(image, rgb565);
    EXPECT_EQ(image.pixels, (std::vector<std::uint8_t>{0, 0, 0x00, 0xF8, 0x00, 0xF8, 0, 0}));
    image.pixels = {1, 0, 9, 9};
    expand_indices(image, {640, 480, 8, 0});
    EXPECT_EQ(image.pixels, (std::vector<std::uint8_t>{1, 0, 9, 9}));
}

} // namespace
