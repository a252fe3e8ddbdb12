#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// One file inside a .ONE resource archive.
struct ArchiveMember {
    std::string name;
    std::vector<std::uint8_t> data;
};

// Why a member name cannot be stored, or an empty text when it can: names are 1 to 1023
// bytes, must not contain a byte 0x00 or 0xFF (either would end the stored name early) and
// must differ from every other name of the archive without regard to ASCII letter case.
std::string archive_name_problem(std::span<const ArchiveMember> members, std::size_t index);

// The bytes of an archive holding `members` in this order: header with `magic` ('O' or 'o'),
// directory, then the data of each member one after another. Throws std::invalid_argument
// when a name cannot be stored or the archive would not fit 32-bit offsets.
std::vector<std::uint8_t> build_archive(std::span<const ArchiveMember> members, char magic = 'O');
