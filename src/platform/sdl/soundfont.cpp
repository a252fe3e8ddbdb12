#include "platform/sdl/soundfont.h"

#include <cstdlib>
#include <filesystem>

namespace sdl {

std::vector<std::string>& soundfont_candidates() {
    static std::vector<std::string> candidates = {
        "/usr/share/sounds/sf2/default-GM.sf2",
        "/usr/share/sounds/sf2/FluidR3_GM.sf2",
        "/usr/share/sounds/sf2/TimGM6mb.sf2",
    };
    return candidates;
}

namespace {

bool is_file(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

} // namespace

std::vector<std::string> existing_soundfonts() {
    std::vector<std::string> existing;
    if (const char* chosen = std::getenv("BLOKIT_SOUNDFONT"); chosen && is_file(chosen))
        existing.push_back(chosen);
    for (const std::string& path : soundfont_candidates())
        if (is_file(path))
            existing.push_back(path);
    return existing;
}

} // namespace sdl
