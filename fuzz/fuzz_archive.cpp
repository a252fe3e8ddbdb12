// The archive lookup on arbitrary archive files.

#include <cstdio>
#include <cstdlib>
#include <string>

#include <sys/mman.h>
#include <unistd.h>

#include "res/resource.h"

namespace {

// Every input becomes an archive file in memory, reached by a path of its
// own: the disk is never touched and the current directory stays as it is
// (the fuzzer reads its corpus by relative paths).
int archive_file() {
    static const int fd = [] {
        const int created = memfd_create("DATA.ONE", 0);
        if (created < 0)
            std::abort();
        return created;
    }();
    return fd;
}

const std::string& archive_path() {
    static const std::string path = "/proc/self/fd/" + std::to_string(archive_file());
    return path;
}

void look_up(const char* name, std::size_t archive_size) {
    std::FILE* member = find_archive_member(archive_path().c_str(), name);
    if (member == nullptr)
        return;
    if (static_cast<std::uint64_t>(resource_base) + resource_size > archive_size)
        std::abort();
    if (read_resource(member, resource_size).size() != resource_size)
        std::abort();
    std::fclose(member);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const int fd = archive_file();
    // Written over, then cut to length: the pages the file keeps are reused.
    if (pwrite(fd, data, size, 0) != static_cast<ssize_t>(size) ||
        ftruncate(fd, static_cast<off_t>(size)) != 0)
        std::abort();
    look_up("HINTERS.PIX", size);
    look_up("a", size);
    look_up("", size);
    return 0;
}
