// Flushing files and directories through POSIX, shared by every backend on
// such systems.

#include "platform/file_sync.h"

#include <fcntl.h>
#include <unistd.h>

#include <string>

namespace platform {

bool sync_file(std::FILE* file) {
    return std::fflush(file) == 0 && ::fsync(::fileno(file)) == 0;
}

bool sync_directory_of(const char* path) {
    const std::string name = path;
    const std::size_t slash = name.rfind('/');
    const std::string directory = slash == std::string::npos ? "."
                                  : slash == 0               ? "/"
                                                             : name.substr(0, slash);
    const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

} // namespace platform
