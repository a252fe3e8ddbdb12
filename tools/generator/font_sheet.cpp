#include "font_sheet.h"

#include "game_palette.h"
#include "lettering.h"

Canvas make_font_sheet() {
    constexpr int glyph_count = 96;
    constexpr int rows = (glyph_count + font_glyphs_per_row - 1) / font_glyphs_per_row;
    Canvas sheet(font_cell_width * font_glyphs_per_row, font_cell_height * rows);
    // White letters fading to a pale grey, ringed in near-black, so that they
    // read on the dark band, the game background and the title alike.
    const LetterStyle style{2, Ramp{11, 5}, 1, colours::outline};
    for (int g = 0; g < glyph_count; ++g) {
        const int left = font_cell_width * (g % font_glyphs_per_row);
        const int top = font_cell_height * (g / font_glyphs_per_row);
        const char code = static_cast<char>(32 + g);
        draw_lettering(sheet, left + 3, top + 1, std::string_view(&code, 1), style);
    }
    return sheet;
}
