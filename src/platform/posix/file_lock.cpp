#include "platform/file_lock.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform {

FileLock::FileLock(const std::filesystem::path& path)
    : handle_(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666)) {
    if (handle_ < 0)
        return;
    while (::flock(static_cast<int>(handle_), LOCK_EX) != 0)
        if (errno != EINTR) {
            ::close(static_cast<int>(handle_));
            handle_ = -1;
            return;
        }
}

// Closing the last descriptor of the lock file lets the lock go.
FileLock::~FileLock() {
    if (handle_ >= 0)
        ::close(static_cast<int>(handle_));
}

} // namespace platform
