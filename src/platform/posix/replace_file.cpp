#include "platform/posix/replace_file.h"
#include "platform/file_sync.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include <stdlib.h>
#include <unistd.h>

namespace platform {
namespace {

bool write_all(int fd, std::span<const std::byte> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        done += std::size_t(written);
    }
    return true;
}

} // namespace

bool replace_file(const std::string& file,
                  std::initializer_list<std::span<const std::byte>> parts) {
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(file).parent_path(), error);
    std::string temporary = file + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return false;
    bool written = true;
    for (std::span<const std::byte> part : parts)
        written = written && write_all(fd, part);
    written = written && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (written && closed && ::rename(temporary.c_str(), file.c_str()) == 0) {
        sync_directory_of(file.c_str());
        return true;
    }
    ::unlink(temporary.c_str());
    return false;
}

} // namespace platform
