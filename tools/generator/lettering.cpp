#include "lettering.h"

#include "glyphs.h"

namespace {

bool inked_pixel(unsigned char code, int px, int py, int scale) {
    if (px < 0 || py < 0) {
        return false;
    }
    return glyph_inked(code, px / scale, py / scale);
}

bool near_ink(unsigned char code, int px, int py, const LetterStyle& style) {
    const int w = style.outline_width;
    for (int dy = -w; dy <= w; ++dy) {
        for (int dx = -w; dx <= w; ++dx) {
            if (inked_pixel(code, px + dx, py + dy, style.scale)) {
                return true;
            }
        }
    }
    return false;
}

// Letters fade from light at the top to darker at the bottom; small ones in
// clean steps, large ones dithered.
std::uint8_t fill_shade(const LetterStyle& style, int py, int x, int y) {
    const double depth = (py + 0.5) / (glyph_rows * style.scale);
    const double brightness = 1.0 - 0.75 * depth;
    if (style.scale < 3) {
        return style.fill.entry(int(brightness * (style.fill.length - 1) + 0.5));
    }
    return style.fill.dithered(brightness, x, y);
}

void draw_glyph(Canvas& canvas, int x, int y, unsigned char code, const LetterStyle& style) {
    const int w = style.outline_width;
    const int ink_width = glyph_columns * style.scale;
    const int ink_height = glyph_rows * style.scale;
    for (int py = -w; py < ink_height + w; ++py) {
        for (int px = -w; px < ink_width + w; ++px) {
            if (inked_pixel(code, px, py, style.scale)) {
                canvas.put(x + px, y + py, fill_shade(style, py, x + px, y + py));
            } else if (w > 0 && near_ink(code, px, py, style)) {
                canvas.put(x + px, y + py, style.outline);
            }
        }
    }
}

} // namespace

int letter_advance(const LetterStyle& style) {
    return (glyph_columns + 1) * style.scale;
}

int text_width(std::string_view text, const LetterStyle& style) {
    if (text.empty()) {
        return 0;
    }
    return int(text.size() - 1) * letter_advance(style) + glyph_columns * style.scale +
           2 * style.outline_width;
}

void draw_lettering(Canvas& canvas, int x, int y, std::string_view text, const LetterStyle& style) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        draw_glyph(canvas, x + int(i) * letter_advance(style), y,
                   static_cast<unsigned char>(text[i]), style);
    }
}

void draw_centred(Canvas& canvas, int centre_x, int y, std::string_view text,
                  const LetterStyle& style) {
    draw_lettering(canvas, centre_x - text_width(text, style) / 2 + style.outline_width, y, text,
                   style);
}
