#pragma once

#include <string>
#include <string_view>

namespace sdl {

// The text with every tab replaced by spaces up to the next stop of eight
// columns (a UTF-8 character is one column): SDL's boxes draw a tab as a
// stray glyph.
std::string expand_tabs(std::string_view text);

// The text with its first line filled out with blanks, when no line of it
// is as wide as the caption and the title bar's buttons beside it: the box
// is only as wide as its widest line, and the window's title bar would cut
// the caption short.
std::string widen_for_caption(std::string_view text, std::string_view caption);

// While it lives, the program's locale reads UTF-8 even when the user's
// locale is not installed, so a box's texts are drawn whole; the locale
// before is restored afterwards.
class Utf8Locale {
  public:
    Utf8Locale();
    ~Utf8Locale();
    Utf8Locale(const Utf8Locale&) = delete;
    Utf8Locale& operator=(const Utf8Locale&) = delete;

  private:
    std::string previous_;
    std::string previous_lc_all_;
    bool had_lc_all_ = false;
    bool changed_environment_ = false;
};

} // namespace sdl
