#pragma once

// The user's settings store, in the manner of a registry: keys named by
// paths such as "SOFTWARE\Vendor\Program" hold named text values. A key is a
// small hand-editable file of "name=value" lines under the user's
// configuration directory ($XDG_CONFIG_HOME, else ~/.config): the path's
// components become folders and the last one the file "<name>.conf"; the
// leading "SOFTWARE" is the configuration directory itself. Lines that are
// not values (comments, anything edited in) are kept as they stand.

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

struct SettingsKey;

// What create_settings_key found.
enum class KeyDisposition : std::uint32_t {
    None = 0,
    CreatedNewKey = 1,
    OpenedExistingKey = 2,
};

// Values longer than this, and files larger than settings_file_limit, are
// not read.
constexpr std::size_t settings_file_limit = 64 * 1024;

// Opens an existing key; null when it is missing or cannot be read.
SettingsKey* open_settings_key(const char* path);

// Opens the key, creating it and the folders above it when it is missing;
// `disposition` says which. Null (disposition None) when neither is
// possible, also when an existing key cannot be read and so could not be
// written back whole.
SettingsKey* create_settings_key(const char* path, const char* key_class,
                                 KeyDisposition& disposition);

// Copies the text of value `name` and its terminating zero into `buffer`,
// which holds `size` bytes; `size` becomes the bytes the value takes with the
// zero. False when the value is missing or does not fit (the buffer is then
// left as it was).
bool query_settings_value(const SettingsKey* key, const char* name, char* buffer,
                          std::uint32_t& size);

// Stores the `size` bytes of `data` (the text and its terminating zero) as
// value `name`. The file is written anew beside the old one and then takes
// its place, so a failure leaves the stored values as they were. False on
// any failure, and for names or texts that a line cannot hold.
bool set_settings_value(SettingsKey* key, const char* name, const char* data, std::uint32_t size);

void close_settings_key(SettingsKey* key);

// Where the keys' files are kept: on the disk, unless a test or a fuzzing
// program puts something else, such as memory, in its place.
struct SettingsFiles {
    // The file's content; false when it is missing or cannot be read. May
    // stop reading once more than settings_file_limit bytes are in.
    bool (*read)(const std::string& file, std::string& content);
    bool (*exists)(const std::string& file);
    // Puts `content` in place of the file in one step, making the folders
    // above it when they are missing; on failure the old file stays.
    bool (*replace)(const std::string& file, const std::string& content);
};

// The files the store uses; assigning to it changes them.
SettingsFiles& settings_files();

// The file that holds key `path`; empty when there is no configuration
// directory or the path is not a usable key name.
std::string settings_key_file(const char* path);

} // namespace platform
