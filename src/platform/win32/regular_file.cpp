// Opening the game's own files on Windows, where a name in a folder is a
// file or a folder, and a folder cannot be opened as a file.

#include "platform/regular_file.h"

namespace platform {

std::FILE* open_regular_file(const char* path, const char* mode) {
    return std::fopen(path, mode);
}

} // namespace platform
