#pragma once

// Paths and the game's narrow path texts, which are UTF-8 on every system
// it runs on (the Windows program declares UTF-8 its code page). The
// standard library's own narrow conversions follow the C library's locale
// instead, which on Windows spells no UTF-8 name right.

#include <filesystem>
#include <string>

namespace platform {

inline std::filesystem::path utf8_path(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

inline std::string utf8_text(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

} // namespace platform
