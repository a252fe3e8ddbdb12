#pragma once

#include <cstdint>

namespace platform {

// Language identifiers as the system numbers them: the primary language in
// the low 10 bits, the sublanguage above them.
constexpr std::uint16_t primary_language_mask = 0x3FF;
constexpr std::uint16_t lang_german = 0x07;
constexpr std::uint16_t lang_english_us = 0x0409;

// The language identifier of the user's default language.
std::uint16_t user_default_lang_id();

// The identifier for a POSIX locale name such as "de_CH.UTF-8": German
// locales give German (Germany or Switzerland, Austria, Luxembourg,
// Liechtenstein by their region), everything else, missing or malformed
// names included, gives US English.
std::uint16_t lang_id_from_locale(const char* locale);

// The locale name that decides the messages' language: the first set and
// non-empty of LC_ALL, LC_MESSAGES and LANG, or null.
const char* messages_locale();

} // namespace platform
