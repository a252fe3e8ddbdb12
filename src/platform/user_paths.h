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

// The name of the folder beside the high-score table that holds the replays.
const char* replay_folder_name();

} // namespace platform
