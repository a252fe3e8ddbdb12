#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// One directory entry of a .ONE archive as stored.
struct ArchiveEntryInfo {
    std::string name;
    std::uint32_t offset = 0;
    std::uint32_t size = 0;
};

// The directory of an archive held in memory. `error` is empty when the whole archive is
// sound: right magic, every entry present, every member inside the file.
struct ArchiveListing {
    std::vector<ArchiveEntryInfo> entries;
    std::string error;
};

ArchiveListing read_archive_directory(std::span<const std::uint8_t> archive);

// The bytes of one member; the entry must come from a listing without error.
std::span<const std::uint8_t> archive_member_data(std::span<const std::uint8_t> archive,
                                                  const ArchiveEntryInfo& entry);
