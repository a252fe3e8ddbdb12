#include "formats/archive_reader.h"

#include "res/archive_format.h"
#include "res/byte_order.h"

namespace {

std::string stored_name(const std::uint8_t* field) {
    std::string name;
    for (std::size_t i = 0; i < archive_name_size && field[i] != 0x00; ++i)
        name.push_back(static_cast<char>(complement_name_byte(field[i])));
    return name;
}

bool inside(std::span<const std::uint8_t> archive, const ArchiveEntryInfo& entry) {
    return entry.offset <= archive.size() && entry.size <= archive.size() - entry.offset;
}

} // namespace

ArchiveListing read_archive_directory(std::span<const std::uint8_t> archive) {
    ArchiveListing listing;
    if (archive.size() < archive_header_size || !is_archive_magic(archive[0], archive[1])) {
        listing.error = "not an archive (no \"OO\" or \"oo\" header)";
        return listing;
    }
    const std::int32_t count = read_i32le(&archive[2]);
    if (count < 0) {
        listing.error = "negative entry count";
        return listing;
    }
    std::size_t at = archive_header_size;
    for (std::int32_t i = 0; i < count; ++i, at += archive_entry_size) {
        if (archive.size() - at < archive_entry_size) {
            listing.error = "directory cut off after " + std::to_string(i) + " entries";
            return listing;
        }
        const std::uint8_t* entry = &archive[at];
        ArchiveEntryInfo info{stored_name(entry), read_u32le(entry + archive_offset_field),
                              read_u32le(entry + archive_size_field)};
        if (!inside(archive, info)) {
            listing.error = "member " + info.name + " lies beyond the end of the archive";
            return listing;
        }
        listing.entries.push_back(std::move(info));
    }
    return listing;
}

std::span<const std::uint8_t> archive_member_data(std::span<const std::uint8_t> archive,
                                                  const ArchiveEntryInfo& entry) {
    return archive.subspan(entry.offset, entry.size);
}
