#include <array>
#include <string>

#include "platform/regular_file.h"
#include "res/archive_format.h"
#include "res/byte_order.h"
#include "res/name_case.h"
#include "res/resource.h"

namespace {

using EntryBytes = std::array<std::uint8_t, archive_entry_size>;

// Whether the entry holds the name `wanted` (in lower case), letter case ignored. The stored
// name is complemented and ends at the first stored 0x00, or at the end of the field when an
// entry has no terminator.
bool has_name(const EntryBytes& entry, const std::string& wanted) {
    std::size_t i = 0;
    for (; i < archive_name_size && entry[i] != 0x00; ++i)
        if (i == wanted.size() ||
            ascii_lower(static_cast<char>(complement_name_byte(entry[i]))) != wanted[i])
            return false;
    return i == wanted.size();
}

long file_length(std::FILE* file) {
    if (std::fseek(file, 0, SEEK_END) != 0)
        return -1;
    return std::ftell(file);
}

// An entry whose data would lie beyond the end of the archive cannot be read.
bool inside_archive(std::uint32_t offset, std::uint32_t size, long length) {
    const auto end = static_cast<std::uint64_t>(offset) + size;
    return length >= 0 && end <= static_cast<std::uint64_t>(length);
}

// Reads the directory from the current position; on a match, positions the archive at the
// member and sets the lookup values.
bool seek_member(std::FILE* archive, std::int32_t count, const std::string& wanted, long length) {
    EntryBytes entry;
    for (std::int32_t i = 0; i < count; ++i) {
        if (std::fread(entry.data(), 1, entry.size(), archive) != entry.size())
            return false;
        if (!has_name(entry, wanted))
            continue;
        const std::uint32_t offset = read_u32le(&entry[archive_offset_field]);
        const std::uint32_t size = read_u32le(&entry[archive_size_field]);
        if (!inside_archive(offset, size, length))
            continue;
        if (std::fseek(archive, static_cast<long>(offset), SEEK_SET) != 0)
            return false;
        resource_base = offset;
        resource_size = size;
        return true;
    }
    return false;
}

} // namespace

bool seek_archive_member(std::FILE* archive, const char* wanted) {
    resource_base = 0;
    resource_size = 0;
    std::array<std::uint8_t, archive_header_size> header;
    const long length = file_length(archive);
    return std::fseek(archive, 0, SEEK_SET) == 0 &&
           std::fread(header.data(), 1, header.size(), archive) == header.size() &&
           is_archive_magic(header[0], header[1]) &&
           seek_member(archive, read_i32le(&header[2]), ascii_lowered(wanted), length);
}

std::FILE* find_archive_member(const char* archive_name, const char* wanted) {
    resource_base = 0;
    resource_size = 0;
    std::FILE* archive = platform::open_regular_file(archive_name, "rb");
    if (archive == nullptr)
        return nullptr;
    if (seek_archive_member(archive, wanted))
        return archive;
    std::fclose(archive);
    return nullptr;
}
