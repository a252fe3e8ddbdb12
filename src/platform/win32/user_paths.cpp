// The program's location and the user's folders as Windows reports them, in
// the system's narrow code page like every other path the game opens.

#include "platform/user_paths.h"
#include "platform/win32/backend.h"

#include <cstdlib>
#include <vector>

namespace platform {

std::string executable_directory() {
    std::vector<char> name(MAX_PATH);
    for (;;) {
        const DWORD length =
            GetModuleFileNameA(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0)
            return {};
        if (length < name.size()) {
            const std::string program(name.data(), length);
            const std::size_t separator = program.find_last_of("\\/");
            return separator == std::string::npos ? std::string() : program.substr(0, separator);
        }
        name.resize(name.size() * 2);
    }
}

// Windows has no XDG variables: every per-user file lives under the roaming
// application data folder, whichever kind of folder is asked for.
std::string xdg_base_directory(const char*, const char*) {
    const char* appdata = std::getenv("APPDATA");
    return appdata ? appdata : "";
}

const char* replay_folder_name() {
    return "Replays";
}

} // namespace platform
