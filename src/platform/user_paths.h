#pragma once

// Where things are on this system: the running program's own directory and
// the user's directories under the XDG base directory rules.

#include <string>

namespace platform {

// The directory that holds the running program's executable; empty when the
// system does not say.
std::string executable_directory();

// The user's base directory named by the environment variable `variable`
// (XDG_CONFIG_HOME, XDG_DATA_HOME) when it holds an absolute path, else
// `under_home` below $HOME; empty when neither is usable.
std::string xdg_base_directory(const char* variable, const char* under_home);

// Where the game keeps the files it writes (its high-score table, replays)
// on a system that has one place for them wherever the game is started
// from: on Windows the program's own folder when it is writable (a portable
// copy), else "Blokit" in the user's application data folder. Empty where
// that place follows the data instead (Linux: the directory the data is
// found in, or the user's data directory when installed).
std::string own_files_directory();

} // namespace platform
