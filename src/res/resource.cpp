#include "res/resource.h"
#include "platform/regular_file.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>

std::uint32_t resource_base = 0;
std::uint32_t resource_size = 0;

namespace {

constexpr std::array<const char*, 4> archive_names = {"ONLY.ONE", "DATA.ONE", "AUDIO.ONE",
                                                      "VIDEO.ONE"};

// Opens a regular file (never a directory, pipe or device) and records its
// length as the resource size.
std::FILE* open_loose_file(const char* path) {
    std::FILE* file = platform::open_regular_file(path, "rb");
    if (file == nullptr)
        return nullptr;
    long length = -1;
    if (std::fseek(file, 0, SEEK_END) == 0)
        length = std::ftell(file);
    if (length < 0 || std::fseek(file, 0, SEEK_SET) != 0) {
        std::fclose(file);
        return nullptr;
    }
    resource_base = 0;
    resource_size = static_cast<std::uint32_t>(std::min<unsigned long>(
        static_cast<unsigned long>(length), std::numeric_limits<std::uint32_t>::max()));
    return file;
}

std::FILE* open_from_tree(const char* name) {
    std::array<char, resource_path_size> path{};
    if (std::strlen(name) >= path.size())
        return nullptr;
    std::strcpy(path.data(), name);
    tree_search_found = false;
    find_file_in_tree(".", path.data());
    return open_loose_file(path.data());
}

} // namespace

std::FILE* open_resource(const char* name) {
    if (std::FILE* file = open_loose_file(name))
        return file;
    for (const char* archive : archive_names)
        if (std::FILE* member = find_archive_member(archive, name))
            return member;
    if (std::FILE* file = open_from_tree(name))
        return file;
    resource_base = 0;
    resource_size = 0;
    return nullptr;
}

std::vector<std::uint8_t> read_resource(std::FILE* stream, std::uint32_t size) {
    std::vector<std::uint8_t> bytes;
    constexpr std::size_t chunk = 1 << 16;
    // Grow as the bytes arrive, so a member that claims more than its file holds costs nothing.
    while (bytes.size() < size) {
        const std::size_t start = bytes.size();
        const std::size_t want = std::min<std::size_t>(chunk, size - start);
        bytes.resize(start + want);
        const std::size_t got = std::fread(bytes.data() + start, 1, want, stream);
        bytes.resize(start + got);
        if (got < want)
            break;
    }
    return bytes;
}
