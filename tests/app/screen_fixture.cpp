#include "app/screen_fixture.h"
#include "app/program_state.h"

#include <cstdlib>
#include <string>

#include "app/assets.h"
#include "app/high_scores.h"
#include "data/run_directory.h"
#include "game/player.h"
#include "game/session.h"
#include "gfx/palette.h"
#include "platform/headless/headless.h"
#include "platform/headless/screen.h"
#include "res/font_file.h"
#include "res/picture.h"

void ScreenTest::SetUp() {
    reset_program_state();
    headless::reset();
    app_active = 1;
    use_english = true;
    ASSERT_TRUE(open_display(mode_fullscreen, "QM - Blokit", 8, 640, 480, 640, 480));
    {
        InRunDirectory run;
        game_font = make_font("FONT2.PIX", 0, 16, 14);
        ASSERT_EQ(load_picture("HINTERS.PIX", background_surface, &game_palette), 1);
    }
    ASSERT_TRUE(game_font.surface);
    set_palette(game_palette);
    scratch_ = std::make_unique<ScratchDirectory>();
}

// BLOKIT_SCREEN_FRAMES=<directory> keeps the last frame of every test there
// as a PNG, to look at.
void ScreenTest::TearDown() {
    const char* directory = std::getenv("BLOKIT_SCREEN_FRAMES");
    if (directory && headless::last_frame()) {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        headless::write_frame_png(*headless::last_frame(), std::string(directory) + "/" +
                                                               test->test_suite_name() + "." +
                                                               test->name() + ".png");
    }
    scratch_.reset();
    background_surface.reset();
    game_font = Font{};
    close_display();
}

void tap(int key, std::uint64_t at, std::uint64_t held) {
    headless::press_at(at, key);
    headless::release_at(at + held, key);
}

std::uint64_t type_text(const char* text, std::uint64_t at, std::uint64_t spacing) {
    for (; *text != '\0'; ++text, at += spacing)
        tap(static_cast<unsigned char>(*text), at);
    return at;
}

namespace {

std::vector<std::uint8_t> surface_pixels(const Surface& surface) {
    std::vector<std::uint8_t> pixels(640 * 480);
    platform::LockedPixels locked;
    EXPECT_EQ(surface->lock(locked), platform::Result::Ok);
    for (int row = 0; row < 480; ++row)
        for (int column = 0; column < 640; ++column)
            pixels[row * 640 + column] = locked.pixels[row * locked.pitch + column];
    surface->unlock();
    return pixels;
}

// Pixel (x, y) of the band from row `top` on: the innermost of its sixteen
// rectangles (x1 = i, y1 = top + i, x2 = 640 - i, y2 = top + 28 - i,
// colour 80 + i) that covers it, or -1 when none does.
int band_colour(int x, int y, int top) {
    int colour = -1;
    for (int i = 0; i < 16; ++i)
        if (x >= i && x < 640 - i && y >= top + i && y < top + 28 - i)
            colour = 80 + i;
    return colour;
}

} // namespace

std::vector<std::uint8_t> back_buffer_pixels() {
    return surface_pixels(display.back_buffer);
}

std::vector<std::uint8_t> text_alone(const char* text, int x, int y, int advance) {
    Surface picture;
    EXPECT_EQ(display.direct_draw->create_surface(640, 480, picture), platform::Result::Ok);
    picture->color_fill({0, 0, 640, 480}, 0);
    Font font = game_font;
    font.glyph_width = advance;
    draw_text(font, picture, x, y, text);
    return surface_pixels(picture);
}

int band_mismatches(const std::vector<std::uint8_t>& picture, int top, const char* text, int x,
                    int advance) {
    const std::vector<std::uint8_t> glyphs = text_alone(text, x, top + 7, advance);
    int mismatches = 0;
    for (int row = top; row < top + 28; ++row)
        for (int column = 0; column < 640; ++column) {
            const std::size_t at = std::size_t(row) * 640 + column;
            const int expected = glyphs[at] != 0 ? glyphs[at] : band_colour(column, row, top);
            mismatches += picture[at] != expected;
        }
    return mismatches;
}
