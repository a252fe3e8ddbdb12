// The archive lookup on arbitrary archive files. Every input is an archive
// stream in memory, so that it costs the lookup and no system calls.

#include <cstdio>
#include <cstdlib>

#include "res/resource.h"

namespace {

void look_up(std::FILE* archive, const char* name, std::size_t archive_size) {
    if (!seek_archive_member(archive, name))
        return;
    if (static_cast<std::uint64_t>(resource_base) + resource_size > archive_size)
        std::abort();
    if (read_resource(archive, resource_size).size() != resource_size)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Opened for reading only: the stream never writes to the input.
    std::FILE* archive = fmemopen(const_cast<std::uint8_t*>(data), size, "rb");
    if (archive == nullptr)
        std::abort();
    look_up(archive, "HINTERS.PIX", size);
    look_up(archive, "a", size);
    look_up(archive, "", size);
    std::fclose(archive);
    return 0;
}
