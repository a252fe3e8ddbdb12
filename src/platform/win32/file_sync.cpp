// Flushing files and directories on Windows.

#include "platform/file_sync.h"
#include "platform/win32/backend.h"

#include <io.h>

namespace platform {

bool sync_file(std::FILE* file) {
    return std::fflush(file) == 0 && _commit(_fileno(file)) == 0;
}

// NTFS journals a rename together with the directory it changes; there is no
// handle to a directory to flush, so nothing is left to wait for.
bool sync_directory_of(const char*) {
    return true;
}

} // namespace platform
