#include "platform/replace_file.h"
#include "platform/file_sync.h"
#include "platform/regular_file.h"

#include <cerrno>
#include <string>
#include <system_error>

#include <stdlib.h>
#include <sys/stat.h>
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

// A pipe, a device or a folder in the file's place is left alone, as is a
// file this user may not write.
bool may_replace(const std::filesystem::path& path) {
    std::FILE* file = open_regular_file(path.c_str(), "r+b");
    if (!file)
        return errno == ENOENT;
    std::fclose(file);
    return true;
}

// The permissions of the file to be replaced, if there is one, for the new
// file: replacing then changes no more than writing over it would.
bool keep_permissions(int fd, const std::filesystem::path& path) {
    struct stat old_file {};
    if (::stat(path.c_str(), &old_file) != 0)
        return errno == ENOENT;
    return ::fchmod(fd, old_file.st_mode & 07777) == 0;
}

} // namespace

bool replace_file(const std::filesystem::path& path, std::span<const std::byte> bytes) {
    std::error_code error;
    if (path.has_parent_path())
        std::filesystem::create_directories(path.parent_path(), error);
    if (!may_replace(path))
        return false;
    std::string temporary = path.string() + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return false;
    const bool written = write_all(fd, bytes) && keep_permissions(fd, path) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (written && closed && ::rename(temporary.c_str(), path.c_str()) == 0) {
        sync_directory_of(path.c_str());
        return true;
    }
    ::unlink(temporary.c_str());
    return false;
}

} // namespace platform
