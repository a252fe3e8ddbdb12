#include "platform/settings_store.h"
#include "platform/posix/settings_file.h"
#include "platform/regular_file.h"
#include "platform/replace_file.h"
#include "platform/user_paths.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <span>
#include <string_view>
#include <strings.h>
#include <vector>

namespace platform {

struct SettingsKey {
    std::string file;
    std::vector<std::string> lines;
};

namespace {

namespace fs = std::filesystem;

std::string configuration_directory() {
    return xdg_base_directory("XDG_CONFIG_HOME", ".config");
}

bool usable_component(std::string_view component) {
    return !component.empty() && component != "." && component != ".." &&
           component.find('/') == std::string_view::npos;
}

// The leading component that stands for the configuration directory itself.
bool is_software(std::string_view component) {
    constexpr std::string_view software = "SOFTWARE";
    return component.size() == software.size() &&
           strncasecmp(component.data(), software.data(), software.size()) == 0;
}

// The disk's files. Reading stops once the content is past the limit.
bool read_from_disk(const std::string& file, std::string& content) {
    std::FILE* in = open_regular_file(file.c_str(), "rb");
    if (in == nullptr)
        return false;
    content.clear();
    char chunk[4096];
    std::size_t read = 0;
    while (content.size() <= settings_file_limit &&
           (read = std::fread(chunk, 1, sizeof chunk, in)) > 0)
        content.append(chunk, read);
    const bool failed = std::ferror(in) != 0;
    std::fclose(in);
    return !failed;
}

bool exists_on_disk(const std::string& file) {
    std::error_code error;
    return fs::exists(file, error);
}

bool replace_on_disk(const std::string& file, const std::string& content) {
    return replace_file(file, std::as_bytes(std::span(content)));
}

// The whole file as lines, when it is no larger than the limit.
bool read_lines(const std::string& file, std::vector<std::string>& lines) {
    std::string content;
    if (!settings_files().read(file, content) || content.size() > settings_file_limit)
        return false;
    lines.clear();
    lines.reserve(std::size_t(std::count(content.begin(), content.end(), '\n')) + 1);
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = content.find('\n', start);
        if (end == std::string::npos)
            end = content.size();
        lines.emplace_back(content, start, end - start);
        start = end + 1;
    }
    return true;
}

bool replace_file(const std::string& file, const std::vector<std::string>& lines) {
    std::size_t size = 0;
    for (const std::string& line : lines)
        size += line.size() + 1;
    std::string content;
    content.reserve(size);
    for (const std::string& line : lines) {
        content += line;
        content += '\n';
    }
    return settings_files().replace(file, content);
}

// The value part of `line` when the line holds value `name` (names ignore
// letter case); null otherwise.
const char* value_of(const std::string& line, const char* name) {
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos || equals != std::strlen(name) ||
        strncasecmp(line.c_str(), name, equals) != 0)
        return nullptr;
    return line.c_str() + equals + 1;
}

bool writes_one_line(const char* text, std::size_t length) {
    for (std::size_t i = 0; i < length; ++i)
        if (static_cast<unsigned char>(text[i]) < 0x20 && text[i] != '\t')
            return false;
    return true;
}

} // namespace

SettingsFiles& settings_files() {
    static SettingsFiles files{read_from_disk, exists_on_disk, replace_on_disk};
    return files;
}

std::string settings_key_file(const char* path) {
    std::string file = configuration_directory();
    if (file.empty() || !path)
        return {};
    const std::string_view rest = path;
    bool first = true;
    bool named = false;
    for (std::size_t start = 0;; first = false) {
        const std::size_t end = rest.find('\\', start);
        const std::string_view component = rest.substr(start, end - start);
        if (!first || !is_software(component)) {
            if (!usable_component(component))
                return {};
            file += '/';
            file += component;
            named = true;
        }
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    return named ? file + ".conf" : std::string();
}

SettingsKey* open_settings_key(const char* path) {
    auto key = std::make_unique<SettingsKey>();
    key->file = settings_key_file(path);
    if (key->file.empty() || !read_lines(key->file, key->lines))
        return nullptr;
    return key.release();
}

SettingsKey* create_settings_key(const char* path, const char* key_class,
                                 KeyDisposition& disposition) {
    disposition = KeyDisposition::None;
    auto key = std::make_unique<SettingsKey>();
    key->file = settings_key_file(path);
    if (key->file.empty())
        return nullptr;
    if (settings_files().exists(key->file)) {
        if (!read_lines(key->file, key->lines))
            return nullptr;
        disposition = KeyDisposition::OpenedExistingKey;
        return key.release();
    }
    if (key_class && writes_one_line(key_class, std::strlen(key_class)))
        key->lines.push_back(std::string("# ") + key_class);
    if (!replace_file(key->file, key->lines))
        return nullptr;
    disposition = KeyDisposition::CreatedNewKey;
    return key.release();
}

bool query_settings_value(const SettingsKey* key, const char* name, char* buffer,
                          std::uint32_t& size) {
    if (!key || !name)
        return false;
    for (const std::string& line : key->lines) {
        const char* value = value_of(line, name);
        if (!value)
            continue;
        // A zero byte edited into the file ends the text there.
        const std::size_t length = std::strlen(value);
        const std::size_t needed = length + 1;
        const bool fits = buffer && needed <= size;
        if (fits) {
            std::memcpy(buffer, value, length);
            buffer[length] = '\0';
        }
        size = std::uint32_t(needed);
        return fits;
    }
    return false;
}

bool set_settings_value(SettingsKey* key, const char* name, const char* data, std::uint32_t size) {
    if (!key || !name || (!data && size > 0))
        return false;
    const std::size_t name_length = std::strlen(name);
    const std::size_t length = data ? strnlen(data, size) : 0;
    if (name_length == 0 || std::strchr(name, '=') || !writes_one_line(name, name_length) ||
        !writes_one_line(data, length))
        return false;
    const std::string line =
        std::string(name) + '=' + (data ? std::string(data, length) : std::string());
    std::vector<std::string> lines = key->lines;
    bool replaced = false;
    for (std::string& existing : lines)
        if (!replaced && value_of(existing, name)) {
            existing = line;
            replaced = true;
        }
    if (!replaced)
        lines.push_back(line);
    if (!replace_file(key->file, lines))
        return false;
    key->lines = std::move(lines);
    return true;
}

void close_settings_key(SettingsKey* key) {
    delete key;
}

} // namespace platform
