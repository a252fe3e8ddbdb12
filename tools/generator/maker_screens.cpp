#include "block_word.h"
#include "game_palette.h"
#include "lettering.h"
#include "pictures.h"
#include "scenery.h"

namespace {

constexpr int word_colours[] = {1, 2, 3, 4, 5, 6, 7};

} // namespace

Canvas make_maker_logo() {
    Canvas logo(640, 480);
    paint_gradient(logo, colours::sky, 0, 330, 0.0, 0.7);
    paint_stars(logo, 300, 260, 7);
    paint_moon(logo, 452, 150, 78);
    paint_hills(logo, 300, 14, 0.15, colours::moor, 0.75);
    paint_hills(logo, 340, 18, 0.55, colours::moor, 0.5);
    paint_hills(logo, 390, 12, 0.8, colours::moor, 0.3);
    paint_quill(logo, {196, 318}, {400, 52}, 40);
    draw_centred(logo, 320, 352, "QUILLMOOR", LetterStyle{7, colours::gold, 3, colours::outline});
    draw_centred(logo, 320, 420, "PRESENTS", LetterStyle{3, Ramp{9, 7}, 2, colours::outline});
    return logo;
}

Canvas make_advert() {
    Canvas advert(640, 400);
    paint_gradient(advert, colours::sky, 0, 400, 0.05, 0.45);
    paint_stars(advert, 400, 180, 11);
    paint_tile_heap(advert, 0, 400, 3, 14, 21);
    paint_tile_heap(advert, 580, 400, 3, 14, 22);
    draw_centred(advert, 320, 24, "THANK YOU FOR PLAYING",
                 LetterStyle{4, colours::gold, 2, colours::outline});
    const BlockWordStyle blocks{12, word_colours, 6, 4};
    draw_block_word(advert, 320 - block_word_width("BLOKIT", blocks) / 2, 76, "BLOKIT", blocks);
    const LetterStyle text{2, Ramp{10, 6}, 1, colours::outline};
    draw_centred(advert, 320, 172, "DANKE FUERS SPIELEN!", text);
    draw_centred(advert, 320, 214, "QUILLMOOR IS HARD AT WORK ON MORE", text);
    draw_centred(advert, 320, 236, "PUZZLE AND ARCADE GAMES.", text);
    draw_centred(advert, 320, 258, "LOOK OUT FOR THE QUILL!", text);
    paint_quill(advert, {270, 372}, {330, 300}, 12);
    draw_lettering(advert, 334, 322, "QUILLMOOR",
                   LetterStyle{3, colours::gold, 2, colours::outline});
    return advert;
}
