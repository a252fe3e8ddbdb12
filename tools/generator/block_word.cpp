#include "block_word.h"

#include "block.h"
#include "game_palette.h"
#include "glyphs.h"

#include <algorithm>

namespace {

// Blocks join only side by side, so the letters whose usual shape hangs
// together at a corner get a squarer form here.
bool block_inked(unsigned char code, int c, int r) {
    static constexpr struct {
        char code;
        std::uint8_t rows[glyph_rows];
    } squared[] = {
        {'B', {0x1E, 0x12, 0x1F, 0x11, 0x11, 0x1F}},
        {'O', {0x1F, 0x11, 0x11, 0x11, 0x11, 0x1F}},
        {'K', {0x13, 0x16, 0x1C, 0x16, 0x13, 0x11}},
    };
    for (const auto& shape : squared) {
        if (shape.code == static_cast<char>(code)) {
            return c >= 0 && c < glyph_columns && r >= 0 && r < glyph_rows &&
                   ((shape.rows[r] >> (glyph_columns - 1 - c)) & 1);
        }
    }
    return glyph_inked(code, c, r);
}

// Columns a letter really uses, so that narrow letters such as I take less room.
struct Span {
    int first = 0;
    int last = -1;
};

Span inked_columns(unsigned char code) {
    Span span{glyph_columns, -1};
    for (int c = 0; c < glyph_columns; ++c) {
        for (int r = 0; r < glyph_rows; ++r) {
            if (block_inked(code, c, r)) {
                span.first = std::min(span.first, c);
                span.last = std::max(span.last, c);
            }
        }
    }
    return span.last < 0 ? Span{0, 2} : span;
}

int open_sides(unsigned char code, int c, int r) {
    int mask = 0;
    mask |= block_inked(code, c, r - 1) ? 0 : side::top;
    mask |= block_inked(code, c + 1, r) ? 0 : side::right;
    mask |= block_inked(code, c, r + 1) ? 0 : side::bottom;
    mask |= block_inked(code, c - 1, r) ? 0 : side::left;
    return mask;
}

template <class Visit>
void for_each_block(int x, int y, std::string_view text, int size, Visit visit) {
    int left = x;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto code = static_cast<unsigned char>(text[i]);
        const Span span = inked_columns(code);
        for (int r = 0; r < glyph_rows; ++r) {
            for (int c = span.first; c <= span.last; ++c) {
                if (block_inked(code, c, r)) {
                    visit(int(i), left + (c - span.first) * size, y + r * size,
                          open_sides(code, c, r));
                }
            }
        }
        left += (span.last - span.first + 2) * size;
    }
}

} // namespace

int block_word_width(std::string_view text, const BlockWordStyle& style) {
    int columns = -1;
    for (char ch : text) {
        const Span span = inked_columns(static_cast<unsigned char>(ch));
        columns += span.last - span.first + 2;
    }
    return columns * style.block_size + style.shadow;
}

void draw_block_word(Canvas& canvas, int x, int y, std::string_view text,
                     const BlockWordStyle& style) {
    const int size = style.block_size;
    if (style.shadow > 0) {
        for_each_block(x + style.shadow, y + style.shadow, text, size,
                       [&](int, int bx, int by, int) {
                           canvas.fill_rect(bx, by, bx + size, by + size, colours::outline);
                       });
    }
    for_each_block(x, y, text, size, [&](int letter, int bx, int by, int mask) {
        const int colour = style.colours[letter % style.colour_count];
        // The rounded corners show what lies beneath: the shadow or the picture.
        const Shader behind = [&](int px, int py) { return canvas.sample(bx + px, by + py); };
        draw_block(canvas, bx, by, size, colours::tile(colour), mask, behind);
    });
}
