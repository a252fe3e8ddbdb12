#pragma once

// The user's language on POSIX systems, from the locale's environment.

#include <cstdint>

namespace platform {

// The identifier for a POSIX locale name such as "de_CH.UTF-8": German
// locales give German (Germany or Switzerland, Austria, Luxembourg,
// Liechtenstein by their region), everything else, missing or malformed
// names included, gives US English.
std::uint16_t lang_id_from_locale(const char* locale);

// The locale name that decides the messages' language: the first set and
// non-empty of LC_ALL, LC_MESSAGES and LANG, or null.
const char* messages_locale();

} // namespace platform
