// The settings store in the registry. Values are written for the current
// user only: writing under HKEY_LOCAL_MACHINE needs an administrator, and a
// normal user's settings would be lost without a word. They are read for the
// current user first and then machine-wide, where an installer may have put
// them.

#include "platform/settings_store.h"
#include "platform/win32/backend.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>
#include <vector>

namespace platform {

struct SettingsKey {
    // In the order they are read; null where a key is missing.
    std::array<HKEY, 2> keys{};
};

namespace {

const std::array<HKEY, 2> roots{HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE};

// The text of value `name` with one terminating zero; false when it is
// missing, not text or too long.
bool read_text(HKEY key, const char* name, std::vector<char>& text) {
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ) || size > settings_file_limit)
        return false;
    text.assign(std::size_t(size) + 1, '\0');
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size) !=
        ERROR_SUCCESS)
        return false;
    // Stored without its zero, or with bytes after it: the text ends at the first zero.
    text.resize(std::strlen(text.data()) + 1);
    return true;
}

void close_keys(SettingsKey& key) {
    for (HKEY& open : key.keys)
        if (open)
            RegCloseKey(std::exchange(open, nullptr));
}

} // namespace

SettingsKey* open_settings_key(const char* path) {
    if (!path)
        return nullptr;
    auto* key = new SettingsKey;
    bool any = false;
    for (std::size_t i = 0; i < roots.size(); ++i)
        any |= RegOpenKeyExA(roots[i], path, 0, KEY_READ, &key->keys[i]) == ERROR_SUCCESS;
    if (!any) {
        close_settings_key(key);
        return nullptr;
    }
    return key;
}

SettingsKey* create_settings_key(const char* path, const char* key_class,
                                 KeyDisposition& disposition) {
    disposition = KeyDisposition::None;
    if (!path)
        return nullptr;
    HKEY created = nullptr;
    DWORD found = 0;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, const_cast<char*>(key_class),
                        REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE, nullptr, &created,
                        &found) != ERROR_SUCCESS)
        return nullptr;
    disposition = found == REG_CREATED_NEW_KEY ? KeyDisposition::CreatedNewKey
                                               : KeyDisposition::OpenedExistingKey;
    auto* key = new SettingsKey;
    key->keys[0] = created;
    return key;
}

bool query_settings_value(const SettingsKey* key, const char* name, char* buffer,
                          std::uint32_t& size) {
    if (!key || !name)
        return false;
    std::vector<char> text;
    for (HKEY open : key->keys) {
        if (!open || !read_text(open, name, text))
            continue;
        const bool fits = buffer && text.size() <= size;
        if (fits)
            std::copy(text.begin(), text.end(), buffer);
        size = static_cast<std::uint32_t>(text.size());
        return fits;
    }
    return false;
}

bool set_settings_value(SettingsKey* key, const char* name, const char* data, std::uint32_t size) {
    if (!key || !key->keys[0] || !name || (!data && size > 0) || size > settings_file_limit)
        return false;
    // The text up to its zero, stored with one zero.
    const std::string text = data ? std::string(data, strnlen(data, size)) : std::string();
    return RegSetValueExA(key->keys[0], name, 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
}

void close_settings_key(SettingsKey* key) {
    if (!key)
        return;
    close_keys(*key);
    delete key;
}

} // namespace platform
