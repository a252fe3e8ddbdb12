#pragma once

#include <string>
#include <string_view>

// File names are compared without regard to ASCII letter case (A-Z only).
inline char ascii_lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

inline char ascii_upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

inline std::string ascii_lowered(std::string_view name) {
    std::string out(name);
    for (char& c : out)
        c = ascii_lower(c);
    return out;
}

inline std::string ascii_uppered(std::string_view name) {
    std::string out(name);
    for (char& c : out)
        c = ascii_upper(c);
    return out;
}
