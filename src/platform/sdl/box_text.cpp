#include "platform/sdl/box_text.h"

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <langinfo.h>

namespace sdl {
namespace {

constexpr int tab_stop = 8;
constexpr const char* utf8_locale = "C.UTF-8";

bool continues_character(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

bool reads_utf8() {
    return std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
}

} // namespace

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
