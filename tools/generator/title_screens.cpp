#include "block_word.h"
#include "game_palette.h"
#include "lettering.h"
#include "pictures.h"
#include "scenery.h"

namespace {

constexpr int logo_colours[] = {1, 2, 3, 4, 5, 6};

} // namespace

Canvas make_title_background() {
    Canvas title(640, 480);
    paint_gradient(title, colours::sky, 0, 466, 0.0, 0.85);
    paint_stars(title, 380, 300, 3);
    paint_hills(title, 400, 10, 0.3, colours::moor, 0.45);
    paint_tile_heap(title, 0, 466, 6, 9, 31);
    paint_tile_heap(title, 520, 466, 6, 9, 32);
    const LetterStyle keys{2, colours::gold, 1, colours::outline};
    const LetterStyle names{2, Ramp{10, 6}, 1, colours::outline};
    const char* const menu[][2] = {{"1", "ONE PLAYER"},
                                   {"2", "TWO PLAYERS"},
                                   {"B", "BLOB MODE"},
                                   {"SPACE", "START"},
                                   {"ESC", "QUIT"}};
    int y = 268;
    for (const auto& line : menu) {
        draw_lettering(title, 300 - text_width(line[0], keys), y, line[0], keys);
        draw_lettering(title, 324, y, line[1], names);
        y += 26;
    }
    // The scroller runs along the bottom in a black strip.
    title.fill_rect(0, 466, 640, 480, colours::transparent);
    return title;
}

Canvas make_title_logo() {
    Canvas logo(600, 240);
    const BlockWordStyle blocks{18, logo_colours, 6, 6};
    draw_block_word(logo, 300 - block_word_width("BLOKIT", blocks) / 2, 46, "BLOKIT", blocks);
    draw_centred(logo, 300, 186, "FALLING BLOCKS FOR ONE OR TWO",
                 LetterStyle{2, colours::gold, 1, colours::outline});
    return logo;
}
