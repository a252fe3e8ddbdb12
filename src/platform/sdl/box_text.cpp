#include "platform/sdl/box_text.h"

#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <langinfo.h>

namespace sdl {
namespace {

constexpr int tab_stop = 8;
// Columns a title bar gives its buttons; its letters may be bolder and wider
// than the box's own, which this leaves room for as well.
constexpr std::size_t title_bar_columns = 20;
constexpr const char* utf8_locale = "C.UTF-8";

bool continues_character(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

bool reads_utf8() {
    return std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
}

// Characters in `text`: a UTF-8 character is one, whatever its bytes.
std::size_t columns(std::string_view text) {
    std::size_t count = 0;
    for (const char byte : text)
        count += continues_character(byte) ? 0 : 1;
    return count;
}

std::size_t widest_line(std::string_view text) {
    std::size_t widest = 0;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        widest = std::max(widest, columns(text.substr(start, end - start)));
        start = end + 1;
    }
    return widest;
}

} // namespace

std::string widen_for_caption(std::string_view text, std::string_view caption) {
    const std::size_t needed = columns(caption) + title_bar_columns;
    std::string out(text);
    const std::size_t widest = widest_line(text);
    if (widest < needed) {
        const std::size_t first_end = std::min(out.find('\n'), out.size());
        const std::size_t first = columns(std::string_view(out).substr(0, first_end));
        out.insert(first_end, needed - first, ' ');
    }
    return out;
}

std::string expand_tabs(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    int column = 0;
    for (const char byte : text) {
        if (byte == '\t') {
            const int spaces = tab_stop - column % tab_stop;
            out.append(static_cast<std::size_t>(spaces), ' ');
            column += spaces;
            continue;
        }
        out += byte;
        if (byte == '\n')
            column = 0;
        else if (!continues_character(byte))
            ++column;
    }
    return out;
}

// The box's toolkit takes the locale from the environment itself: when that
// locale exists but does not read UTF-8, the environment is pointed at one
// that does for as long as the box is shown.
Utf8Locale::Utf8Locale() {
    if (const char* current = std::setlocale(LC_ALL, nullptr))
        previous_ = current;
    const bool user_locale_exists = std::setlocale(LC_ALL, "") != nullptr;
    if (user_locale_exists && reads_utf8())
        return;
    std::setlocale(LC_ALL, utf8_locale);
    if (!user_locale_exists)
        return;
    if (const char* lc_all = std::getenv("LC_ALL")) {
        had_lc_all_ = true;
        previous_lc_all_ = lc_all;
    }
    setenv("LC_ALL", utf8_locale, 1);
    changed_environment_ = true;
}

Utf8Locale::~Utf8Locale() {
    if (changed_environment_) {
        if (had_lc_all_)
            setenv("LC_ALL", previous_lc_all_.c_str(), 1);
        else
            unsetenv("LC_ALL");
    }
    std::setlocale(LC_ALL, previous_.empty() ? "C" : previous_.c_str());
}

} // namespace sdl
