#include "formats/archive_writer.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

#include "formats/byte_writer.h"
#include "res/archive_format.h"
#include "res/name_case.h"

namespace {

bool same_name(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return ascii_lower(x) == ascii_lower(y);
           });
}

void put_entry(std::vector<std::uint8_t>& out, const ArchiveMember& member, std::uint32_t offset) {
    std::vector<std::uint8_t> name(archive_name_size, complement_name_byte(0));
    std::transform(member.name.begin(), member.name.end(), name.begin(),
                   [](char c) { return complement_name_byte(static_cast<std::uint8_t>(c)); });
    // The first stored 0x00 ends the name; the rest of the field stays as padding.
    name[member.name.size()] = 0x00;
    out.insert(out.end(), name.begin(), name.end());
    put_u32le(out, offset);
    put_u32le(out, static_cast<std::uint32_t>(member.data.size()));
}

} // namespace

std::string archive_name_problem(std::span<const ArchiveMember> members, std::size_t index) {
    const std::string& name = members[index].name;
    if (name.empty())
        return "a member name is empty";
    if (name.size() >= archive_name_size)
        return "member name longer than 1023 bytes: " + name.substr(0, 40) + "...";
    if (name.find('\0') != std::string::npos || name.find('\xFF') != std::string::npos)
        return "member name contains a byte 0x00 or 0xFF: " + name;
    for (std::size_t i = 0; i < index; ++i)
        if (same_name(members[i].name, name))
            return "two members are both named " + name + " (names ignore letter case)";
    return {};
}

std::vector<std::uint8_t> build_archive(std::span<const ArchiveMember> members, char magic) {
    if (magic != 'O' && magic != 'o')
        throw std::invalid_argument("the archive magic is 'O' or 'o'");
    if (members.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
        throw std::invalid_argument("too many archive members");
    std::uint64_t offset = archive_header_size + archive_entry_size * members.size();
    std::uint64_t total = offset;
    for (std::size_t i = 0; i < members.size(); ++i) {
        const std::string problem = archive_name_problem(members, i);
        if (!problem.empty())
            throw std::invalid_argument(problem);
        total += members[i].data.size();
    }
    if (total > std::numeric_limits<std::uint32_t>::max())
        throw std::invalid_argument("archive larger than 4 GiB");

    std::vector<std::uint8_t> out;
    out.reserve(static_cast<std::size_t>(total));
    put_u8(out, static_cast<unsigned char>(magic));
    put_u8(out, static_cast<unsigned char>(magic));
    put_u32le(out, static_cast<std::uint32_t>(members.size()));
    for (const ArchiveMember& member : members) {
        put_entry(out, member, static_cast<std::uint32_t>(offset));
        offset += member.data.size();
    }
    for (const ArchiveMember& member : members)
        out.insert(out.end(), member.data.begin(), member.data.end());
    return out;
}
