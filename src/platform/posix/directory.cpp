// Directory listings through POSIX, shared by the backends on such systems.

#include "platform/directory.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace platform {

struct DirectorySearch {
    DIR* dir;
};

namespace {

bool is_real_directory(DIR* dir, const dirent* found) {
    if (found->d_type != DT_UNKNOWN)
        return found->d_type == DT_DIR;
    struct stat status {};
    return fstatat(dirfd(dir), found->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0 &&
           S_ISDIR(status.st_mode);
}

bool read_entry(DIR* dir, DirectoryEntry& entry) {
    const dirent* found = readdir(dir);
    if (found == nullptr)
        return false;
    entry.name = found->d_name;
    entry.is_directory = is_real_directory(dir, found);
    return true;
}

} // namespace

DirectorySearch* find_first_entry(const std::string& directory, DirectoryEntry& entry) {
    DIR* dir = opendir(directory.c_str());
    if (dir == nullptr)
        return nullptr;
    if (!read_entry(dir, entry)) {
        closedir(dir);
        return nullptr;
    }
    return new DirectorySearch{dir};
}

bool find_next_entry(DirectorySearch* search, DirectoryEntry& entry) {
    return read_entry(search->dir, entry);
}

void find_close(DirectorySearch* search) {
    closedir(search->dir);
    delete search;
}

} // namespace platform
