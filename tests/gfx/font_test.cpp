#include "formats/pix_writer.h"
#include "gfx_fixture.h"
#include "res/font_file.h"
#include "res/test_files.h"

#include <string>

namespace {

// A 320-pixel sheet of 16 x 14 cells, 20 glyphs a row: every pixel of a
// cell holds its glyph number + 1, except the cell's top-left pixel, which
// is index 0 (transparent).
Surface glyph_sheet() {
    return make_surface(320, 70, [](int x, int y) {
        if (x % 16 == 0 && y % 14 == 0)
            return 0;
        return x / 16 + 20 * (y / 14) + 1;
    });
}

class Fonts : public GfxTest {
  protected:
    void SetUp() override {
        GfxTest::SetUp();
        font = make_font(glyph_sheet(), 0, 16, 14);
        clear_back_buffer(200);
    }
    Font font;
};

TEST_F(Fonts, MakeFontSetsCellsGlyphsAndGlyphsPerRow) {
    EXPECT_EQ(font.glyphs_per_row, 20);
    EXPECT_EQ(font.cell_width, 16);
    EXPECT_EQ(font.glyph_width, 16);
    EXPECT_EQ(font.cell_height, 14);
    EXPECT_EQ(font.glyph_height, 14);
    EXPECT_EQ(font.y_offset, 0);
}

TEST_F(Fonts, TheLetterAComesFromItsCellAndLandsAtItsPlace) {
    // A is glyph 33: column 13, row 1, the sheet rectangle (208, 14)-(224, 28).
    draw_text(font, display.back_buffer, 100, 50, "A");
    EXPECT_EQ(pixel(display.back_buffer, 101, 50), 34);
    EXPECT_EQ(pixel(display.back_buffer, 115, 63), 34);
    EXPECT_EQ(pixel(display.back_buffer, 100, 50), 200); // the transparent corner
    EXPECT_EQ(count_not(display.back_buffer, 200), 16 * 14 - 1);
}

TEST_F(Fonts, SpaceIsGlyphZeroAnd127IsTheLastGlyph) {
    const char text[] = {' ', 127, 0};
    draw_text(font, display.back_buffer, 0, 0, text);
    EXPECT_EQ(pixel(display.back_buffer, 1, 0), 1);
    EXPECT_EQ(pixel(display.back_buffer, 17, 0), 96);
}

TEST_F(Fonts, BytesOutside32To127LeaveTheirCellEmptyButKeepTheirPlace) {
    draw_text(font, display.back_buffer, 10, 0, "A\tB");
    EXPECT_EQ(pixel(display.back_buffer, 11, 0), 34);
    EXPECT_EQ(count_not(display.back_buffer, 200), 2 * (16 * 14 - 1));
    EXPECT_EQ(pixel(display.back_buffer, 43, 0), 35); // B at x + 32
    clear_back_buffer(200);
    draw_text(font, display.back_buffer, 0, 0, "\x84\xE4\xDF\x80");
    draw_text(font, display.back_buffer, 0, 0, "");
    EXPECT_EQ(count_not(display.back_buffer, 200), 0);
}

TEST_F(Fonts, TheFortyFirstCharacterFallsOffTheScreenAndIsNotDrawn) {
    draw_text(font, display.back_buffer, 0, 0, std::string(41, 'A').c_str());
    EXPECT_EQ(pixel(display.back_buffer, 625, 0), 34);
    EXPECT_EQ(count_not(display.back_buffer, 200), 40 * (16 * 14 - 1));
    // A glyph partly below the screen is left out as a whole.
    clear_back_buffer(200);
    draw_text(font, display.back_buffer, 0, 470, "A");
    EXPECT_EQ(count_not(display.back_buffer, 200), 0);
}

TEST_F(Fonts, OpaqueTextWritesTheTransparentPixelsToo) {
    draw_text_opaque(font, display.back_buffer, 100, 50, "A");
    EXPECT_EQ(pixel(display.back_buffer, 100, 50), 0);
    EXPECT_EQ(count_not(display.back_buffer, 200), 16 * 14);
}

TEST_F(Fonts, AHalvedAdvanceSqueezesEachGlyphIntoItsNarrowerCell) {
    font.glyph_width = 8;
    draw_text_opaque(font, display.back_buffer, 0, 0, "AB");
    EXPECT_EQ(pixel(display.back_buffer, 7, 5), 34);
    EXPECT_EQ(pixel(display.back_buffer, 8, 5), 35);
    EXPECT_EQ(count_not(display.back_buffer, 200), 2 * 8 * 14);
}

TEST_F(Fonts, AFontWithoutASheetOrWithoutGlyphsDrawsNothing) {
    draw_text(make_font(Surface{}, 0, 16, 14), display.back_buffer, 0, 0, "ABC");
    draw_text(make_font(static_cast<const char*>(nullptr), 0, 16, 14), display.back_buffer, 0, 0,
              "ABC");
    const Font zero_width = make_font(glyph_sheet(), 0, 0, 14);
    EXPECT_EQ(zero_width.glyphs_per_row, 0);
    draw_text(zero_width, display.back_buffer, 0, 0, "ABC");
    const Font wider_than_sheet = make_font(glyph_sheet(), 0, 400, 14);
    draw_text(wider_than_sheet, display.back_buffer, 0, 0, "ABC");
    draw_text(font, display.back_buffer, 0, 0, nullptr);
    draw_text(font, display.back_buffer, 2147483600, 0, "ABCDEFGH");
    EXPECT_EQ(count_not(display.back_buffer, 200), 0);
}

TEST_F(Fonts, TheGlyphGridCanStartLowerOnTheSheet) {
    const Font lower = make_font(glyph_sheet(), 14, 16, 14);
    draw_text_opaque(lower, display.back_buffer, 0, 0, " ");
    EXPECT_EQ(pixel(display.back_buffer, 1, 1), 21); // glyph 0 now comes from row 1
}

TEST_F(Fonts, AFontIsMadeFromItsPictureFileByName) {
    const ScratchDirectory scratch;
    Bytes indices(320 * 84);
    for (int y = 0; y < 84; ++y)
        for (int x = 0; x < 320; ++x)
            indices[std::size_t(y) * 320 + x] = static_cast<std::uint8_t>(x / 16 + 20 * (y / 14));
    write_file("FONT2.PIX", encode_pix(320, 84, indices, Palette{}));
    const Font loaded = make_font("FONT2.PIX", 0, 16, 14);
    EXPECT_EQ(loaded.glyphs_per_row, 20);
    draw_text(loaded, display.back_buffer, 100, 50, "A ");
    EXPECT_EQ(pixel(display.back_buffer, 100, 50), 33);
    EXPECT_EQ(pixel(display.back_buffer, 115, 63), 33);
    EXPECT_EQ(pixel(display.back_buffer, 116, 50), 200); // the space's cell is all index 0

    const Font missing = make_font("NOFONT.PIX", 0, 16, 14);
    EXPECT_EQ(missing.surface, nullptr);
    EXPECT_EQ(missing.glyph_width, 16);
    draw_text(missing, display.back_buffer, 300, 300, "A");
    EXPECT_EQ(count_not(display.back_buffer, 200), 16 * 14);
}

} // namespace
