#include "platform/sdl/soundfont.h"

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

std::vector<std::string> existing_soundfonts() {
    std::vector<std::string> existing;
    for (const std::string& path : soundfont_candidates()) {
        std::error_code error;
        if (std::filesystem::is_regular_file(path, error))
            existing.push_back(path);
    }
    return existing;
}

} // namespace sdl
