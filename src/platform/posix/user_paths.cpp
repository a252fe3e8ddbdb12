// The program's location from /proc, the user's directories from the environment.

#include "platform/user_paths.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace platform {

std::string executable_directory() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : program.parent_path().string();
}

std::string xdg_base_directory(const char* variable, const char* under_home) {
    // Relative paths in these variables are to be ignored.
    const char* xdg = std::getenv(variable);
    if (xdg && xdg[0] == '/')
        return xdg;
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/')
        return std::string(home) + "/" + under_home;
    return {};
}

std::string own_files_directory() {
    return {};
}

} // namespace platform
