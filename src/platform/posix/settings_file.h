#pragma once

// The settings store on POSIX systems. A key is a small hand-editable file
// of "name=value" lines under the user's configuration directory
// ($XDG_CONFIG_HOME, else ~/.config): the path's components become folders
// and the last one the file "<name>.conf"; the leading "SOFTWARE" is the
// configuration directory itself. Lines that are not values (comments,
// anything edited in) are kept as they stand. A value is stored by writing
// the file anew beside the old one, which it then replaces.

#include <string>

namespace platform {

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
