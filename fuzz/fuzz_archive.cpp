// The archive lookup on arbitrary archive files.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "res/resource.h"

namespace {

// Every input becomes "DATA.ONE" in a directory of its own. The current directory stays as
// it is: the fuzzer reads its corpus by relative paths.
const std::string& archive_path() {
    static const std::string path = [] {
        std::string directory =
            (std::filesystem::temp_directory_path() / "blokit-fuzz-XXXXXX").string();
        if (mkdtemp(directory.data()) == nullptr)
            std::abort();
        return directory + "/DATA.ONE";
    }();
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
    std::FILE* archive = std::fopen(archive_path().c_str(), "wb");
    if (archive == nullptr)
        std::abort();
    std::fwrite(data, 1, size, archive);
    std::fclose(archive);
    look_up("HINTERS.PIX", size);
    look_up("a", size);
    look_up("", size);
    return 0;
}
