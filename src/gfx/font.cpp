#include "gfx/font.h"

#include <limits>

namespace {

// The codes that have glyphs, in sheet order.
constexpr int first_glyph_code = 32;
constexpr int last_glyph_code = 127;

void draw_glyphs(const Font& font, const Surface& target, int x, int y, const char* text,
                 platform::Copy copy) {
    if (!text || !target || !font.surface || font.glyphs_per_row <= 0)
        return;
    for (long long i = 0; text[i] != '\0'; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < first_glyph_code || c > last_glyph_code)
            continue;
        const int g = c - first_glyph_code;
        const long long left = static_cast<long long>(font.cell_width) * (g % font.glyphs_per_row);
        const long long top =
            font.y_offset + static_cast<long long>(font.cell_height) * (g / font.glyphs_per_row);
        const long long to_x = x + i * font.glyph_width;
        const long long limit = std::numeric_limits<int>::max();
        if (left + font.cell_width > limit || top + font.cell_height > limit ||
            to_x + font.glyph_width > limit || to_x < std::numeric_limits<int>::min() ||
            static_cast<long long>(y) + font.glyph_height > limit)
            continue;
        const platform::Rect source{int(left), int(top), int(left + font.cell_width),
                                    int(top + font.cell_height)};
        const platform::Rect destination{int(to_x), y, int(to_x + font.glyph_width),
                                         y + font.glyph_height};
        // Text is not retried: a glyph that fails is simply missing.
        target->blt(destination, *font.surface, source, copy);
    }
}

} // namespace

Font make_font(Surface sheet, int y_offset, int glyph_width, int glyph_height) {
    Font font;
    font.y_offset = y_offset;
    font.cell_width = font.glyph_width = glyph_width;
    font.cell_height = font.glyph_height = glyph_height;
    if (!sheet)
        return font;
    // A glyph width of zero or less would divide by zero: no glyphs then.
    font.glyphs_per_row = glyph_width > 0 ? sheet->width() / glyph_width : 0;
    sheet->set_color_key(0);
    font.surface = std::move(sheet);
    return font;
}

void draw_text(const Font& font, const Surface& target, int x, int y, const char* text) {
    draw_glyphs(font, target, x, y, text, platform::Copy::SourceColorKey);
}

void draw_text_opaque(const Font& font, const Surface& target, int x, int y, const char* text) {
    draw_glyphs(font, target, x, y, text, platform::Copy::Opaque);
}
