// The program's location and the user's folders as Windows reports them, in
// the process's narrow code page like every other path the game opens (the
// program's manifest makes that code page UTF-8).

#include "platform/user_paths.h"
#include "platform/win32/backend.h"

#include <cstdlib>
#include <vector>

namespace win32 {
namespace {

// Whether a file can be made in `folder`: the one sure test, as rights,
// read-only attributes and redirected folders all play a part. The file
// goes again when its handle closes.
bool folder_is_writable(const std::string& folder) {
    const std::string probe = folder + "\\blokit-" + std::to_string(GetCurrentProcessId()) + ".tmp";
    const HANDLE file = CreateFileA(
        probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
        FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

} // namespace

std::string own_files_directory(const std::string& program_directory) {
    if (!program_directory.empty() && folder_is_writable(program_directory))
        return program_directory;
    const char* appdata = std::getenv("APPDATA");
    return appdata && *appdata ? std::string(appdata) + "\\Blokit" : std::string();
}

} // namespace win32

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

std::string own_files_directory() {
    return win32::own_files_directory(executable_directory());
}

} // namespace platform
