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

// The file that holds key `path`; empty when there is no configuration
// directory or the path is not a usable key name.
std::string settings_key_file(const char* path);

} // namespace platform
