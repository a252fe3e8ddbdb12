#pragma once

// The one-line text scroller along the bottom edge of the title screen.

#include <cstdint>
#include <string>
#include <vector>

struct Font;

struct Scroller {
    std::vector<std::uint8_t> text; // the file's bytes of 0x20 and above
    int index = 0;                  // first character of the visible line
    int substep = 0;                // +2 a step while the line rests
    int y = 0;                      // top of the line
    std::string line;               // what the last step drew
};

// The bytes of "SCROLL.TXT" without its control bytes, so that the whole
// file becomes one line; empty when it cannot be found.
std::vector<std::uint8_t> load_scroll_text();

// A scroller over `text` whose line starts just below the screen.
Scroller make_scroller(std::vector<std::uint8_t> text, int screen_height);

// One step: the line rises a pixel until it rests on the bottom edge, is
// drawn opaquely from x = 8 and shown; while resting it moves on by one
// character every time the sub-step counter passes the glyph width.
void scroll_step(Scroller& scroller, const Font& font);
