#include "app/app_fixture.h"

#include <fstream>

#include "app/scroller.h"
#include "gfx/display.h"
#include "res/font_file.h"

namespace {

std::vector<std::uint8_t> bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

void write_file(const char* name, const std::string& contents) {
    std::ofstream(name, std::ios::binary) << contents;
}

} // namespace

class ScrollerTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        provide_data({"DATA.ONE"});
        ASSERT_TRUE(open_display(mode_windowed, "QM - Blokit", 8, 640, 480, 640, 480));
        font_ = make_font("FONT2.PIX", 0, 16, 14);
        ASSERT_TRUE(font_.surface);
    }
    // Steps until the line rests on the bottom edge (from 480 down to 466).
    void rise(Scroller& scroller) {
        while (scroller.y > 466)
            scroll_step(scroller, font_);
        ASSERT_EQ(scroller.y, 466);
    }
    Font font_;
};

TEST_F(ScrollerTest, ControlBytesVanishSoTheFileBecomesOneLine) {
    write_file("SCROLL.TXT", std::string("AB\r\nC\t\x01\x1f \x80\xff", 11));
    EXPECT_EQ(load_scroll_text(), bytes("ABC \x80\xff"));
}

TEST_F(ScrollerTest, AMissingOrEmptyFileGivesNoText) {
    std::filesystem::remove(scratch_ / "DATA.ONE");
    EXPECT_TRUE(load_scroll_text().empty());
    write_file("SCROLL.TXT", "");
    EXPECT_TRUE(load_scroll_text().empty());
    Scroller scroller = make_scroller({}, 480);
    for (int i = 0; i < 40; ++i)
        scroll_step(scroller, font_);
    EXPECT_EQ(scroller.line, "");
    EXPECT_EQ(scroller.index, 0);
}

TEST_F(ScrollerTest, TheGeneratedTextIsFound) {
    const std::vector<std::uint8_t> text = load_scroll_text();
    EXPECT_GT(text.size(), 100u);
    for (std::uint8_t byte : text)
        ASSERT_GE(byte, 0x20);
}

TEST_F(ScrollerTest, TheLineRisesAPixelAStepThenMovesOneCharacterEveryNineSteps) {
    std::string text;
    for (int i = 0; i < 100; ++i)
        text += static_cast<char>('A' + i % 26);
    Scroller scroller = make_scroller(bytes(text), 480);
    scroll_step(scroller, font_);
    EXPECT_EQ(scroller.y, 479);
    // 640 / 16 + 2 characters, the last one painted blank.
    EXPECT_EQ(scroller.line, text.substr(0, 41) + " ");
    rise(scroller);
    // The step that reaches the bottom edge already counts.
    EXPECT_EQ(scroller.substep, 2);
    for (int i = 0; i < 7; ++i)
        scroll_step(scroller, font_);
    EXPECT_EQ(scroller.index, 0);
    scroll_step(scroller, font_);
    EXPECT_EQ(scroller.index, 1);
    EXPECT_EQ(scroller.substep, 0);
    for (int i = 0; i < 9; ++i)
        scroll_step(scroller, font_);
    EXPECT_EQ(scroller.index, 2);
    EXPECT_EQ(scroller.line, text.substr(1, 41) + " ");
}

TEST_F(ScrollerTest, NearItsEndTheLineShortensThenStaysEmptyForOnePeriodBeforeRepeating) {
    Scroller scroller = make_scroller(bytes("ABC"), 480);
    rise(scroller);
    EXPECT_EQ(scroller.line, "AB ");
    std::vector<std::string> lines;
    for (int i = 0; i < 9 * 4; ++i) {
        scroll_step(scroller, font_);
        if (lines.empty() || lines.back() != scroller.line)
            lines.push_back(scroller.line);
    }
    EXPECT_EQ(lines, (std::vector<std::string>{"AB ", "B ", " ", "", "AB "}));
}

TEST_F(ScrollerTest, TheLineIsDrawnFromX8OverWhatWasBeneathAndOnlyItsStripIsShown) {
    clear_back_buffer(7);
    present_frame();
    Scroller scroller = make_scroller(bytes(std::string(60, 'M')), 480);
    rise(scroller);
    const headless::Frame& frame = *headless::last_frame();
    // Glyph cells are opaque: their blank pixels overwrite the colour 7 too.
    const Dominant cells = dominant_index(frame, 8, 466, 8 + 16 * 39, 480);
    EXPECT_NE(cells.index, 7);
    EXPECT_GT(count_other(frame, 8, 466, 8 + 16 * 39, 480, 7), 16 * 39 * 14 / 2);
    // ...left of x = 8 and above the line the screen is as it was.
    EXPECT_EQ(count_other(frame, 0, 466, 8, 480, 7), 0);
    EXPECT_EQ(count_other(frame, 0, 0, 640, 466, 7), 0);
}
