#pragma once

// The few POSIX calls the tests use, for their Windows build (included ahead
// of every test source there).

#include <direct.h>
#include <process.h>
#include <stdlib.h>

#include <filesystem>
#include <random>
#include <string>

inline int setenv(const char* name, const char* value, int overwrite) {
    if (!overwrite && getenv(name))
        return 0;
    return _putenv_s(name, value);
}

// Paths are wide strings on Windows.
inline int setenv(const char* name, const wchar_t* value, int overwrite) {
    const std::string narrow = std::filesystem::path(value).string();
    return setenv(name, narrow.c_str(), overwrite);
}

inline int unsetenv(const char* name) {
    return _putenv_s(name, "");
}

inline int getpid() {
    return _getpid();
}

// Replaces the trailing "XXXXXX" and makes the directory.
inline char* mkdtemp(char* pattern) {
    std::string text(pattern);
    if (text.size() < 6 || text.substr(text.size() - 6) != "XXXXXX")
        return nullptr;
    static std::mt19937 random{std::random_device{}()};
    for (int attempt = 0; attempt < 100; ++attempt) {
        for (std::size_t i = text.size() - 6; i < text.size(); ++i)
            text[i] = "abcdefghijklmnopqrstuvwxyz0123456789"[random() % 36];
        if (_mkdir(text.c_str()) == 0) {
            text.copy(pattern, text.size());
            return pattern;
        }
    }
    return nullptr;
}
