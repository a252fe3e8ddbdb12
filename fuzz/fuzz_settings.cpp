// The settings store on arbitrary settings files: reading never goes past
// the buffer, and storing a value reads back exactly.

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "platform/posix/settings_file.h"
#include "platform/settings_store.h"

namespace {

constexpr const char* key_path = "SOFTWARE\\Quillmoor\\Blokit";

// Every input becomes the settings file below a configuration directory of
// its own.
const std::string& settings_file() {
    static const std::string file = [] {
        std::string directory =
            (std::filesystem::temp_directory_path() / "blokit-fuzz-XXXXXX").string();
        if (mkdtemp(directory.data()) == nullptr)
            std::abort();
        setenv("XDG_CONFIG_HOME", directory.c_str(), 1);
        std::filesystem::create_directories(directory + "/Quillmoor");
        return platform::settings_key_file(key_path);
    }();
    return file;
}

void check_options(const platform::SettingsKey* key, const char* expected) {
    char buffer[80];
    std::uint32_t size = sizeof buffer;
    const bool read = platform::query_settings_value(key, "Options", buffer, size);
    if (read && (size == 0 || size > sizeof buffer || buffer[size - 1] != '\0' ||
                 std::strlen(buffer) != size - 1))
        std::abort();
    if (expected && (!read || std::strcmp(buffer, expected) != 0))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& file = settings_file();
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), std::streamsize(size));
    const bool readable = size <= platform::settings_file_limit;

    platform::SettingsKey* key = platform::open_settings_key(key_path);
    if ((key != nullptr) != readable)
        std::abort();
    check_options(key, nullptr);
    platform::close_settings_key(key);

    platform::KeyDisposition disposition{};
    key = platform::create_settings_key(key_path, "Blokit", disposition);
    if ((key != nullptr) != readable)
        std::abort();
    if (key && (disposition != platform::KeyDisposition::OpenedExistingKey ||
                !platform::set_settings_value(key, "Options", "1 0", 4)))
        std::abort();
    platform::close_settings_key(key);

    if (readable) {
        key = platform::open_settings_key(key_path);
        check_options(key, "1 0");
        platform::close_settings_key(key);
    }
    return 0;
}
