// Where the table, the edited row and the two-player result are drawn.

#include <string>

#include "app/assets.h"
#include "app/high_scores.h"
#include "app/match_result.h"
#include "app/screen_fixture.h"
#include "game/player.h"
#include "game/session.h"
#include "gfx/display.h"
#include "platform/headless/headless.h"
#include "platform/headless/screen.h"
#include "platform/keyboard.h"
#include "support/golden_frame.h"

namespace {

// How many pixels of `picture` differ from `expected`.
int mismatches(const std::vector<std::uint8_t>& picture,
               const std::vector<std::uint8_t>& expected) {
    int count = 0;
    for (std::size_t i = 0; i < picture.size(); ++i)
        count += picture[i] != expected[i];
    return count;
}

// Lays the non-zero pixels of `layer` over `picture`.
void overlay(std::vector<std::uint8_t>& picture, const std::vector<std::uint8_t>& layer) {
    for (std::size_t i = 0; i < picture.size(); ++i)
        if (layer[i] != 0)
            picture[i] = layer[i];
}

std::string row_text(const char* numbers, const char* name) {
    std::string padded = std::string(30 - std::string(name).size(), ' ') + name;
    return std::string(numbers) + " " + padded;
}

class TableDrawingTest : public ScreenTest {
  protected:
    void SetUp() override {
        ScreenTest::SetUp();
        load_high_scores();
        clear_back_buffer(0);
    }
};

TEST_F(TableDrawingTest, HeaderAndRowsAreCentredWithTheirOwnAdvance) {
    high_scores[2].name = {'A', 'N', 'N', 'A'};
    high_scores[9] = {123456, 18, 1234, {}};
    draw_high_score_table();
    EXPECT_EQ(game_font.glyph_width, 16); // the narrower advance is given back

    // The English header is 31 characters from x = 72; the rows 43 from x = 19.
    std::vector<std::uint8_t> expected = text_alone("POINTS LEVEL ROWS        PLAYER", 72, 100, 16);
    const char* numbers[10] = {" 1000  0   0", "  950  0   0",  "  900  0   0", "  850  0   0",
                               "  800  0   0", "  750  0   0",  "  700  0   0", "  650  0   0",
                               "  600  0   0", "123456 18 1234"};
    for (int row = 0; row < 10; ++row) {
        const std::string text = row_text(numbers[row], row == 2   ? "ANNA"
                                                        : row == 9 ? ""
                                                                   : "NOONE");
        const int x = row == 9 ? 320 - 45 * 14 / 2 : 19; // too big numbers widen the row
        overlay(expected, text_alone(text.c_str(), x, 128 + 28 * row, 14));
    }
    EXPECT_EQ(mismatches(back_buffer_pixels(), expected), 0);
}

TEST_F(TableDrawingTest, TheGermanHeaderIsCentredToo) {
    use_english = false;
    load_high_scores();
    high_scores = {};
    draw_high_score_table();
    std::vector<std::uint8_t> expected =
        text_alone("PUNKTE LEVEL REIHEN      SPIELER", 64, 100, 16);
    for (int row = 0; row < 10; ++row)
        overlay(expected, text_alone(row_text("    0  0   0", "").c_str(), 19, 128 + 28 * row, 14));
    EXPECT_EQ(mismatches(back_buffer_pixels(), expected), 0);
}

TEST_F(TableDrawingTest, TheEditedRowLiesOnAShadedBand) {
    draw_edited_row(); // no row being edited: nothing
    EXPECT_EQ(mismatches(back_buffer_pixels(), std::vector<std::uint8_t>(640 * 480, 0)), 0);

    high_scores[9] = {551, 4, 20, {'J', 'O'}};
    new_entry_row = 9;
    draw_edited_row();
    EXPECT_EQ(game_font.glyph_width, 16);
    // Row 9's text is at y = 380; its band covers rows 373 to 400.
    const std::vector<std::uint8_t> picture = back_buffer_pixels();
    EXPECT_EQ(band_mismatches(picture, 373, row_text("  551  4  20", "JO").c_str(), 19, 14), 0);
    EXPECT_EQ(picture[373 * 640 + 0], 80);
    EXPECT_EQ(picture[387 * 640 + 13], 93); // the innermost colour
    EXPECT_EQ(picture[372 * 640 + 300], 0);
    EXPECT_EQ(picture[401 * 640 + 300], 0);
}

TEST_F(TableDrawingTest, TheNameBeingTypedIsShownOnItsBand) {
    players[0].score = 777;
    type_text("LEA", 100);
    tap(platform::vk::Return, 500);
    enter_high_score();
    // 777 enters row 5 (y = 268): its band from row 261 is what the last frame shows.
    const headless::Frame* frame = headless::last_frame();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(band_mismatches(frame->pixels, 261, row_text("  777  0   0", "LEA").c_str(), 19, 14),
              0);
}

class MatchResultTest : public ScreenTest {
  protected:
    void SetUp() override {
        ScreenTest::SetUp();
        player_count = 2;
        clear_back_buffer(7); // what the game left on the screen
    }

    // Shows the result and leaves it with a tap of Escape.
    const headless::Frame& shown() {
        tap(platform::vk::Escape, headless::now() + 50);
        show_match_result();
        EXPECT_NE(headless::last_frame(), nullptr);
        return *headless::last_frame();
    }
};

TEST_F(MatchResultTest, EachBandShowsTheWinsOfOnePlayer) {
    players[1].losses = -1; // only the right player topped out
    const headless::Frame& frame = shown();
    // Twelve characters from x = 224, text at y = 167 and 327.
    EXPECT_EQ(band_mismatches(frame.pixels, 160, "PLAYER 1 - 1", 224, 16), 0);
    EXPECT_EQ(band_mismatches(frame.pixels, 320, "PLAYER 2 - 0", 224, 16), 0);
    // Everywhere else the game's picture stays.
    for (int y : {0, 159, 188, 319, 348, 479})
        for (int x : {0, 320, 639})
            EXPECT_EQ(frame.at(x, y), 7) << x << ", " << y;
    expect_golden_frame(frame, "result_en");
}

TEST_F(MatchResultTest, TwoDigitCountsStartOneGlyphEarlier) {
    players[1].losses = -3;
    players[0].losses = -12;
    const headless::Frame& frame = shown();
    EXPECT_EQ(band_mismatches(frame.pixels, 160, "PLAYER 1 - 3", 224, 16), 0);
    EXPECT_EQ(band_mismatches(frame.pixels, 320, "PLAYER 2 - 12", 216, 16), 0);
}

TEST_F(MatchResultTest, GermanLinesAndExtremeCounts) {
    use_english = false;
    players[1].losses = INT32_MIN; // negated without overflow
    players[0].losses = 5;
    const headless::Frame& frame = shown();
    EXPECT_EQ(band_mismatches(frame.pixels, 160, "SPIELER 1 - 2147483648", 320 - 22 * 8, 16), 0);
    EXPECT_EQ(band_mismatches(frame.pixels, 320, "SPIELER 2 - -5", 320 - 14 * 8, 16), 0);
    expect_golden_frame(frame, "result_de");
}

TEST_F(MatchResultTest, AKeyStillHeldFromTheGameDoesNotEndIt) {
    headless::set_key(platform::vk::Space, true);
    headless::release_at(headless::now() + 400, platform::vk::Space);
    tap(platform::vk::Return, headless::now() + 1000);
    const std::uint64_t start = headless::now();
    show_match_result();
    EXPECT_GE(headless::now(), start + 1000);
    EXPECT_LT(headless::now(), start + 1010);
}

TEST_F(MatchResultTest, AQuitEndsIt) {
    headless::post_at(headless::now() + 300, {platform::MessageKind::Quit, 0});
    const std::uint64_t start = headless::now();
    show_match_result();
    EXPECT_TRUE(quit_requested);
    EXPECT_LT(headless::now(), start + 310);
}

} // namespace
