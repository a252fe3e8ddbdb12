#include "platform/posix/locale.h"
#include "platform/language.h"

#include <array>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace platform {
namespace {

struct GermanRegion {
    std::string_view region;
    std::uint16_t sublanguage;
};

constexpr std::array german_regions{
    GermanRegion{"DE", 1}, GermanRegion{"CH", 2}, GermanRegion{"AT", 3},
    GermanRegion{"LU", 4}, GermanRegion{"LI", 5},
};

constexpr std::uint16_t lang_id(std::uint16_t primary, std::uint16_t sublanguage) {
    return static_cast<std::uint16_t>(sublanguage << 10 | primary);
}

} // namespace

std::uint16_t lang_id_from_locale(const char* locale) {
    if (locale == nullptr)
        return lang_english_us;
    // language[_REGION][.codeset][@modifier]
    const std::string_view name(locale);
    const std::string_view language = name.substr(0, name.find_first_of("_.@"));
    if (language != "de")
        return lang_english_us;
    std::string_view region;
    if (language.size() < name.size() && name[language.size()] == '_') {
        region = name.substr(language.size() + 1);
        region = region.substr(0, region.find_first_of(".@"));
    }
    for (const GermanRegion& known : german_regions)
        if (known.region == region)
            return lang_id(lang_german, known.sublanguage);
    return lang_id(lang_german, 1);
}

const char* messages_locale() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0')
            return value;
    }
    return nullptr;
}

} // namespace platform
