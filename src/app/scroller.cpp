#include "app/scroller.h"

#include <algorithm>
#include <cstdio>

#include "gfx/display.h"
#include "gfx/font.h"
#include "res/resource.h"

std::vector<std::uint8_t> load_scroll_text() {
    std::vector<std::uint8_t> text;
    std::FILE* stream = open_resource("SCROLL.TXT");
    if (stream == nullptr)
        return text;
    // Only the bytes really there: a file shorter than it claims ends early.
    text = read_resource(stream, resource_size);
    std::fclose(stream);
    std::erase_if(text, [](std::uint8_t byte) { return byte < 0x20; });
    return text;
}

Scroller make_scroller(std::vector<std::uint8_t> text, int screen_height) {
    Scroller scroller;
    scroller.text = std::move(text);
    scroller.y = screen_height;
    return scroller;
}

namespace {

// Up to `length` characters from the visible start; the last one is drawn as
// a blank, so that when the line shortens near the end of the text the cell
// it leaves behind is painted over.
std::string visible_line(const Scroller& scroller, std::size_t length) {
    const std::size_t start = std::min<std::size_t>(scroller.index, scroller.text.size());
    const std::size_t count = std::min(length, scroller.text.size() - start);
    std::string line(scroller.text.begin() + start, scroller.text.begin() + start + count);
    if (!line.empty())
        line.back() = ' ';
    return line;
}

} // namespace

void scroll_step(Scroller& scroller, const Font& font) {
    const int width = display.screen_width;
    const int height = display.screen_height;
    const int glyph_width = std::max(1, font.glyph_width);
    const int rest_y = height - font.glyph_height;
    if (rest_y < scroller.y)
        --scroller.y;
    scroller.line = visible_line(scroller, std::size_t(std::max(0, width / glyph_width + 2)));
    draw_text_opaque(font, display.back_buffer, 8, scroller.y, scroller.line.c_str());
    if (scroller.y == rest_y) {
        scroller.substep += 2;
        if (scroller.substep > font.glyph_width) {
            scroller.substep = 0;
            if (++scroller.index > static_cast<int>(scroller.text.size()))
                scroller.index = 0;
        }
    }
    present_rect(2, scroller.y, {2, scroller.y, width - 4, height});
}
