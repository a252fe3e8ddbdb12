// The cost of one full two-player frame as the playfield draws it, of a
// screen of text, and of turning the 8-bit picture into screen pixels.

#include "gfx/display.h"
#include "gfx/font.h"
#include "gfx/palette.h"
#include "gfx/sprite.h"
#include "gfx/tile_set.h"
#include "platform/headless/headless.h"
#include "platform/present.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

Surface filled_surface(int width, int height) {
    Surface surface;
    display.direct_draw->create_surface(width, height, surface);
    platform::LockedPixels locked;
    surface->lock(locked);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            locked.pixels[y * locked.pitch + x] = static_cast<std::uint8_t>((x ^ y) % 7);
    surface->unlock();
    return surface;
}

struct Scene {
    Surface background;
    Font font;
    std::vector<std::uint32_t> screen = std::vector<std::uint32_t>(640 * 480);
    platform::ColourTable colours{};

    Scene() {
        headless::reset();
        open_display(mode_fullscreen, "QM - Blokit", 8, 640, 480, 640, 480);
        background = filled_surface(640, 480);
        const Surface tiles = filled_surface(532, 460);
        tiles->set_color_key(0);
        cut_tile_set(tiles);
        font = make_font(filled_surface(320, 84), 0, 16, 14);
        Palette palette{};
        for (std::size_t i = 0; i < palette.size(); ++i)
            palette[i] = static_cast<std::uint8_t>(i % 64);
        set_palette(palette);
        colours = platform::colour_table(display.palette->entries());
    }
    ~Scene() {
        release_tile_set();
        close_display();
    }

    // Background, two boards of 10 x 23 tiles, two falling pieces of four
    // cells (erased and drawn), the frame strips and forty short texts at
    // the two-player advance.
    void draw_playfield() {
        copy_screen(display.back_buffer, background);
        for (int board_left : {70, 370}) {
            for (int column = 0; column < 10; ++column)
                for (int row = 0; row < 23; ++row)
                    draw_sprite(tile_table[1 + (column + row) % 7][(column * row) % 16].get(),
                                display.back_buffer, board_left + 20 * column, 8 + 20 * row);
            for (int cell = 0; cell < 8; ++cell)
                draw_sprite(tile_table[cell < 4 ? 0 : 3][cell < 4 ? 0 : 9].get(),
                            display.back_buffer, board_left + 20 * (3 + cell % 2),
                            8 + 20 * (cell % 4));
            draw_sprite(board_side_sprite.get(), display.back_buffer, board_left - 4, 8);
            draw_sprite(board_side_sprite.get(), display.back_buffer, board_left + 200, 8);
            draw_sprite(board_bottom_sprite.get(), display.back_buffer, board_left - 4, 468);
        }
        font.glyph_width = 8;
        for (int line = 0; line < 20; ++line) {
            draw_text(font, display.back_buffer, 8, 14 * (line + 1), "PTS:");
            draw_text(font, display.back_buffer, 592, 14 * (line + 1), "12345");
        }
        font.glyph_width = 16;
    }

    void convert() {
        platform::LockedPixels locked;
        display.back_buffer->lock(locked);
        platform::convert_to_argb(locked.pixels, locked.pitch, {0, 0, 640, 480}, colours,
                                  screen.data(), 640 * 4);
        display.back_buffer->unlock();
        benchmark::DoNotOptimize(screen.data());
    }
};

void two_player_frame_and_present_conversion(benchmark::State& state) {
    Scene scene;
    for (auto _ : state) {
        scene.draw_playfield();
        scene.convert();
    }
}
BENCHMARK(two_player_frame_and_present_conversion)->Unit(benchmark::kMicrosecond);

// Eleven lines of thirty glyphs over the background, drawn narrower than
// the font's cells, as the high-score table is drawn ten times a second.
void screen_of_text(benchmark::State& state) {
    Scene scene;
    scene.font.glyph_width = 12;
    for (auto _ : state) {
        copy_screen(display.back_buffer, scene.background);
        for (int line = 0; line < 11; ++line)
            draw_text(scene.font, display.back_buffer, 140, 40 * line + 10,
                      "12345   10   123     ABCDEFGHIJ");
    }
}
BENCHMARK(screen_of_text)->Unit(benchmark::kMicrosecond);

void present_conversion(benchmark::State& state) {
    Scene scene;
    for (auto _ : state)
        scene.convert();
}
BENCHMARK(present_conversion)->Unit(benchmark::kMicrosecond);

} // namespace
