#include "platform/regular_file.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

std::FILE* open_regular_file(const char* path, const char* mode) {
    const int access = std::strchr(mode, '+') != nullptr ? O_RDWR : O_RDONLY;
    // Without waiting, which a pipe with no writer would make the open itself
    // do; regular files ignore the flag.
    const int descriptor = open(path, access | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        return nullptr;
    struct stat status {};
    std::FILE* file = nullptr;
    if (fstat(descriptor, &status) == 0) {
        if (S_ISREG(status.st_mode))
            file = fdopen(descriptor, mode);
        else
            errno = EINVAL;
    }
    if (file == nullptr) {
        const int reason = errno;
        close(descriptor);
        errno = reason;
    }
    return file;
}

} // namespace platform
