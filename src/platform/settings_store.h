#pragma once

// The user's settings store, in the manner of a registry: keys named by
// paths such as "SOFTWARE\Vendor\Program" hold named text values. On
// Windows they are the registry's own keys; on POSIX systems a key is a small
// hand-editable file (see platform/posix/settings_file.h).

#include <cstddef>
#include <cstdint>

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
// value `name`. A failure leaves the stored values as they were. False on
// any failure, and for names or texts that a line cannot hold.
bool set_settings_value(SettingsKey* key, const char* name, const char* data, std::uint32_t size);

void close_settings_key(SettingsKey* key);

} // namespace platform
