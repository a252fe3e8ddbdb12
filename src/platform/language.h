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

} // namespace platform
