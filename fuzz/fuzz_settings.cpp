// The settings store on arbitrary settings files: reading never goes past
// the buffer, and storing a value reads back exactly. The files are kept in
// memory, so that every input costs parsing and no disk.

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/posix/settings_file.h"
#include "platform/settings_store.h"

namespace {

constexpr const char* key_path = "SOFTWARE\\Quillmoor\\Blokit";

// Longer inputs are not tried: they only hold more lines of the kinds shorter
// ones hold, and every line costs copies at every step.
constexpr std::size_t longest_input = 256;

// The one settings file, as the store last wrote it.
std::string stored;

bool read_stored(const std::string&, std::string& content) {
    content = stored;
    return true;
}

bool stored_exists(const std::string&) {
    return true;
}

bool replace_stored(const std::string&, const std::string& content) {
    stored = content;
    return true;
}

void keep_settings_in_memory() {
    static const bool kept = [] {
        // Names a configuration directory that is never touched.
        setenv("XDG_CONFIG_HOME", "/blokit-fuzz-settings", 1);
        platform::settings_files() = {read_stored, stored_exists, replace_stored};
        return true;
    }();
    (void)kept;
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
    if (size > longest_input)
        return 0;
    keep_settings_in_memory();
    stored.assign(reinterpret_cast<const char*>(data), size);
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
