// The settings store on arbitrary settings files: reading never goes past
// the buffer, and storing a value reads back exactly. The files are kept in
// memory, so that every input costs parsing and no disk.

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/posix/settings_file.h"
#include "platform/settings_store.h"

namespace {

constexpr const char* key_path = "SOFTWARE\\Quillmoor\\Blokit";

// Longer inputs are tried as far as this: beyond it they only hold more lines
// of the kinds shorter ones hold, and every line costs copies at every step.
// Every file this short is within the store's size limit.
constexpr std::size_t longest_input = 128;
static_assert(longest_input <= platform::settings_file_limit);

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
    keep_settings_in_memory();
    stored.assign(reinterpret_cast<const char*>(data), std::min(size, longest_input));

    // The file is parsed once as it came and once as the store wrote it; a
    // key opened for reading parses it the same way as one created.
    platform::KeyDisposition disposition{};
    platform::SettingsKey* key = platform::create_settings_key(key_path, "Blokit", disposition);
    if (!key || disposition != platform::KeyDisposition::OpenedExistingKey)
        std::abort();
    check_options(key, nullptr);
    if (!platform::set_settings_value(key, "Options", "1 0", 4))
        std::abort();
    platform::close_settings_key(key);

    key = platform::open_settings_key(key_path);
    check_options(key, "1 0");
    platform::close_settings_key(key);
    return 0;
}
