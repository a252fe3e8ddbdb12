#include <gtest/gtest.h>

#include <set>
#include <string>

#include "data/sheet_surface.h"
#include "gfx/font.h"

namespace {

class FontTest : public HeadlessDisplayTest {
  protected:
    void SetUp() override {
        HeadlessDisplayTest::SetUp();
        Surface sheet = load_sheet_surface("FONT2.PIX");
        ASSERT_TRUE(sheet);
        font = make_font(sheet, 0, 16, 14);
        sheet_pixels = surface_pixels(sheet);
        sheet_width = sheet->width();
    }
    void TearDown() override {
        font = Font{};
        HeadlessDisplayTest::TearDown();
    }

    // The 16 x 14 cell of one character code, row by row.
    std::vector<std::uint8_t> cell(int code) const {
        const int g = code - 32;
        const int left = 16 * (g % font.glyphs_per_row), top = 14 * (g / font.glyphs_per_row);
        std::vector<std::uint8_t> pixels;
        for (int y = top; y < top + 14; ++y) {
            for (int x = left; x < left + 16; ++x) {
                pixels.push_back(sheet_pixels[std::size_t(y * sheet_width + x)]);
            }
        }
        return pixels;
    }

    Font font;
    std::vector<std::uint8_t> sheet_pixels;
    int sheet_width = 0;
};

TEST_F(FontTest, EveryPrintableGlyphHasInkInsideItsCellAndDiffersFromTheOthers) {
    EXPECT_EQ(font.glyphs_per_row, 20);
    std::set<std::vector<std::uint8_t>> seen;
    for (int code = 33; code <= 126; ++code) {
        SCOPED_TRACE(std::string("code ") + std::to_string(code));
        const std::vector<std::uint8_t> glyph = cell(code);
        int ink = 0;
        for (int y = 0; y < 14; ++y) {
            // The outer columns stay clear, so neighbouring letters never touch.
            EXPECT_EQ(glyph[std::size_t(y * 16)], 0);
            EXPECT_EQ(glyph[std::size_t(y * 16 + 15)], 0);
            for (int x = 0; x < 16; ++x) {
                ink += glyph[std::size_t(y * 16 + x)] >= 11; // the light letter colours
            }
        }
        EXPECT_GE(ink, 4);
        EXPECT_TRUE(seen.insert(glyph).second) << "looks like another glyph";
    }
    const std::vector<std::uint8_t> blank = cell(32);
    EXPECT_EQ(std::count(blank.begin(), blank.end(), 0), 16 * 14);
}

TEST_F(FontTest, TextDrawnByTheGameShowsTheGlyphOfItsCell) {
    clear_back_buffer(0);
    draw_text(font, display.back_buffer, 100, 50, "A");
    const std::vector<std::uint8_t> screen = surface_pixels(display.back_buffer);
    const std::vector<std::uint8_t> glyph = cell('A');
    for (int y = 0; y < 14; ++y) {
        for (int x = 0; x < 16; ++x) {
            ASSERT_EQ(screen[std::size_t((50 + y) * 640 + 100 + x)],
                      glyph[std::size_t(y * 16 + x)]);
        }
    }
}

TEST_F(FontTest, HalfWidthTextOfTheTwoPlayerLayoutKeepsEveryLetterVisible) {
    font.glyph_width = 8;
    for (int code = 33; code <= 126; ++code) {
        clear_back_buffer(0);
        const char text[2] = {char(code), 0};
        draw_text(font, display.back_buffer, 0, 0, text);
        const std::vector<std::uint8_t> screen = surface_pixels(display.back_buffer);
        int ink = 0;
        for (int y = 0; y < 14; ++y) {
            for (int x = 0; x < 8; ++x) {
                ink += screen[std::size_t(y * 640 + x)] >= 11;
            }
        }
        EXPECT_GE(ink, 2) << code;
    }
}

} // namespace
