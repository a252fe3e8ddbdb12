#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "data/run_directory.h"
#include "game_palette.h"
#include "icon.h"
#include "icon_file.h"
#include "res/resource.h"

namespace {

struct PictureSize {
    const char* name;
    int width;
    int height;
};

// The sizes the screens and the asset loading copy from.
constexpr PictureSize exact_sizes[] = {
    {"QMLOGO.PIX", 640, 480},  {"WERBEPIX.PIX", 640, 400}, {"TITELS.PIX", 640, 480},
    {"BLOKITS.PIX", 600, 240}, {"HINTERS.PIX", 640, 480},
};

double luminance(const Palette& palette, int index) {
    const auto linear = [](int component) {
        const double c = component / 63.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    const std::size_t at = std::size_t(3 * index);
    return 0.2126 * linear(palette[at]) + 0.7152 * linear(palette[at + 1]) +
           0.0722 * linear(palette[at + 2]);
}

class PicturesTest : public ::testing::Test {
  protected:
    InRunDirectory in_run_directory;
};

TEST_F(PicturesTest, EveryScreenPictureHasItsSizeAndTheSharedPalette) {
    const Palette shared = make_game_palette();
    for (const PictureSize& expected : exact_sizes) {
        SCOPED_TRACE(expected.name);
        const Image image = load_pix_resource(expected.name);
        EXPECT_EQ(image.width, expected.width);
        EXPECT_EQ(image.height, expected.height);
        EXPECT_EQ(image.palette, shared);
        // A real picture, not a flat fill.
        std::vector<bool> used(256);
        for (std::uint8_t index : image.pixels) {
            used[index] = true;
        }
        EXPECT_GE(std::count(used.begin(), used.end(), true), 12);
    }
}

TEST_F(PicturesTest, TheSheetsHoldEveryRectangleCutFromThem) {
    const Image tiles = load_pix_resource("STEINES.PIX");
    EXPECT_GE(tiles.width, 532);  // the bottom strip ends at x 532
    EXPECT_GE(tiles.height, 460); // the side strip ends at y 460
    const Image font = load_pix_resource("FONT2.PIX");
    ASSERT_GE(font.width, 16);
    const int per_row = font.width / 16;
    EXPECT_GE(font.height, 14 * ((96 + per_row - 1) / per_row));
    EXPECT_EQ(tiles.palette, make_game_palette());
    EXPECT_EQ(font.palette, make_game_palette());
}

TEST_F(PicturesTest, TheTitleLogoStandsOnATransparentGround) {
    const Image logo = load_pix_resource("BLOKITS.PIX");
    ASSERT_EQ(logo.pixels.size(), 600u * 240u);
    const auto at = [&](int x, int y) { return logo.pixels[std::size_t(y * 600 + x)]; };
    for (int x = 0; x < 600; ++x) {
        ASSERT_EQ(at(x, 0), 0) << x;
        ASSERT_EQ(at(x, 239), 0) << x;
    }
    const auto inked = std::count_if(logo.pixels.begin(), logo.pixels.end(),
                                     [](std::uint8_t index) { return index != 0; });
    EXPECT_GT(inked, 600 * 240 / 5);
    EXPECT_LT(inked, 600 * 240 * 3 / 4);
}

TEST_F(PicturesTest, TheBandShadesInwardAndWhiteTextReadsWhereTheTextLies) {
    const Image background = load_pix_resource("HINTERS.PIX");
    const Palette& palette = background.palette;
    for (int i = 80; i < 93; ++i) {
        EXPECT_GT(luminance(palette, i), luminance(palette, i + 1)) << i;
    }
    // Text 14 rows high sits over the rectangles 7 to 13 of the band; white
    // on them must have a contrast of at least 7 to 1.
    const double white = luminance(palette, colours::white);
    for (int i = 87; i <= 93; ++i) {
        EXPECT_GE((white + 0.05) / (luminance(palette, i) + 0.05), 7.0) << i;
    }
    // The rim stands out from the background it is drawn on.
    EXPECT_GT(luminance(palette, 80), 3 * luminance(palette, background.pixels[0]));
}

TEST_F(PicturesTest, TheScrollerTextNamesEveryKeyAndKeepsWordsApartAcrossLines) {
    std::FILE* stream = open_resource("SCROLL.TXT");
    ASSERT_NE(stream, nullptr);
    const std::vector<std::uint8_t> bytes = read_resource(stream, resource_size);
    std::fclose(stream);
    ASSERT_EQ(bytes.size(), resource_size);
    // The title screen drops control bytes and joins the lines.
    std::string joined;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] >= 0x20) {
            ASSERT_LT(bytes[i], 0x7F) << "only characters the font can draw";
            joined += char(bytes[i]);
        } else {
            ASSERT_TRUE(i > 0 && (bytes[i - 1] == ' ' || bytes[i - 1] < 0x20))
                << "a line break would join two words at " << i;
        }
    }
    for (const char* word : {"WELCOME", "PRESS 1", "2 FOR TWO", "B FOR THE BLOB", "SPACE", "ESC",
                             "CTRL", "SHIFT", "F1", "F2", "BLOB:", "CREDITS"}) {
        EXPECT_NE(joined.find(word), std::string::npos) << word;
    }
}

} // namespace

// The icon shows the same pieces at every size: empty cells see-through,
// each piece's cells in its tile colour, and the window's copy in the data.
TEST_F(PicturesTest, TheIconShowsTheSamePiecesAtEverySize) {
    const auto in_ramp = [](std::uint8_t index, int colour) {
        const Ramp ramp = colours::tile(colour);
        return index >= ramp.first && index < ramp.first + ramp.length;
    };
    for (int size : icon_sizes) {
        SCOPED_TRACE(size);
        const Canvas icon = make_icon(size);
        ASSERT_EQ(icon.width, size);
        ASSERT_EQ(icon.height, size);
        const int cell = size / 4;
        const auto centre = [&](int column, int row) {
            return icon.at(column * cell + cell / 2, row * cell + cell / 2);
        };
        EXPECT_EQ(centre(0, 0), colours::transparent);
        EXPECT_EQ(centre(1, 2), colours::transparent);
        EXPECT_TRUE(in_ramp(centre(2, 1), 7)); // the falling piece
        EXPECT_TRUE(in_ramp(centre(0, 3), 2));
        EXPECT_TRUE(in_ramp(centre(3, 3), 5));
        EXPECT_EQ(icon.at(0, size - 1), colours::transparent); // a rounded corner
    }
    const Image window_icon = load_pix_resource("ICON.PIX");
    EXPECT_EQ(window_icon.width, window_icon_size);
    EXPECT_EQ(window_icon.pixels, make_icon(window_icon_size).pixels);
    EXPECT_EQ(window_icon.palette, make_game_palette());
}

// Windows finds each picture of the icon file through its directory entry
// (a side of 256 written as 0) and reads it bottom row first, colours with
// alpha, then the mask.
TEST(IconFile, ListsEveryPictureAndKeepsItsTransparency) {
    std::array<std::uint8_t, 768> rgb{};
    rgb[3 * 5 + 0] = 0x11; // index 5: red 0x11, blue 0x33
    rgb[3 * 5 + 2] = 0x33;
    Canvas small(2, 2, 0);
    small.put(0, 0, 5); // top left
    const Canvas large(256, 256, 5);
    const std::vector<std::uint8_t> file = make_icon_file({small, large}, rgb.data(), 0);
    const auto number = [&](std::size_t at) {
        return std::uint32_t(file[at]) | std::uint32_t(file[at + 1]) << 8 |
               std::uint32_t(file[at + 2]) << 16 | std::uint32_t(file[at + 3]) << 24;
    };
    ASSERT_GE(file.size(), 38u);
    EXPECT_EQ(number(0), 0x00010000u); // an icon
    EXPECT_EQ(file[4], 2);
    EXPECT_EQ(file[6], 2);
    EXPECT_EQ(file[22], 0); // 256
    const std::uint32_t small_bytes = 40 + 2 * 2 * 4 + 2 * 4;
    EXPECT_EQ(number(14), small_bytes);
    EXPECT_EQ(number(18), 38u);
    EXPECT_EQ(number(30), 40u + 256 * 256 * 4 + 256 * 32);
    EXPECT_EQ(number(34), 38u + small_bytes);
    ASSERT_EQ(file.size(), number(34) + number(30));

    const std::size_t bitmap = 38;
    EXPECT_EQ(number(bitmap + 8), 4u); // colours and mask
    // The top row comes last: its left pixel is the opaque one.
    const std::size_t top_row = bitmap + 40 + 8;
    EXPECT_EQ(std::vector<std::uint8_t>(file.begin() + top_row, file.begin() + top_row + 8),
              (std::vector<std::uint8_t>{0x33, 0, 0x11, 255, 0, 0, 0, 0}));
    const std::size_t mask = bitmap + 40 + 16;
    EXPECT_EQ(file[mask], 0xC0);     // bottom row: both see-through
    EXPECT_EQ(file[mask + 4], 0x40); // top row: the right one
}
