// blokit-pack: lists, extracts and builds the game's .ONE resource archives.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "formats/archive_reader.h"
#include "formats/archive_writer.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* usage_text =
    "Usage:\n"
    "  blokit-pack list ARCHIVE\n"
    "      Show every member: offset, size and name, in directory order.\n"
    "  blokit-pack extract ARCHIVE [DIRECTORY]\n"
    "      Write every member into DIRECTORY (default: the current directory).\n"
    "  blokit-pack build [--lower] ARCHIVE FILE...\n"
    "      Make ARCHIVE from the FILEs in the order given. A member is named after its\n"
    "      file's base name; write NAME=FILE to choose the name. --lower writes the\n"
    "      magic \"oo\" instead of \"OO\".\n"
    "  blokit-pack --help\n"
    "      Show this text.\n"
    "Names are found by the game without regard to letter case, so two members may not\n"
    "differ in case only.\n";

int usage_error(const std::string& problem) {
    std::fprintf(stderr, "blokit-pack: %s\n%s", problem.c_str(), usage_text);
    return 2;
}

int failure(const std::string& problem) {
    std::fprintf(stderr, "blokit-pack: %s\n", problem.c_str());
    return 1;
}

std::optional<std::vector<std::uint8_t>> read_file(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
    if (in.bad())
        return std::nullopt;
    return bytes;
}

bool write_file(const fs::path& path, std::span<const std::uint8_t> bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
}

// Reads an archive and its directory; reports the problem and returns nothing on failure.
std::optional<std::pair<std::vector<std::uint8_t>, ArchiveListing>>
open_archive(const std::string& path) {
    auto bytes = read_file(path);
    if (!bytes) {
        failure("cannot read " + path);
        return std::nullopt;
    }
    ArchiveListing listing = read_archive_directory(*bytes);
    if (!listing.error.empty()) {
        failure(path + ": " + listing.error);
        return std::nullopt;
    }
    return std::make_pair(std::move(*bytes), std::move(listing));
}

int list_archive(const std::string& path) {
    auto archive = open_archive(path);
    if (!archive)
        return 1;
    for (const ArchiveEntryInfo& entry : archive->second.entries)
        std::printf("%10u %10u  %s\n", entry.offset, entry.size, entry.name.c_str());
    return 0;
}

// A member name becomes a file name only when it cannot leave the target directory.
bool is_plain_file_name(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of("/\\") == std::string::npos;
}

int extract_archive(const std::string& path, const fs::path& directory) {
    auto archive = open_archive(path);
    if (!archive)
        return 1;
    for (const ArchiveEntryInfo& entry : archive->second.entries) {
        if (!is_plain_file_name(entry.name))
            return failure("refusing member name that is not a plain file name: " + entry.name);
        if (!write_file(directory / entry.name, archive_member_data(archive->first, entry)))
            return failure("cannot write " + (directory / entry.name).string());
    }
    return 0;
}

std::optional<ArchiveMember> member_from_argument(const std::string& argument) {
    const auto equals = argument.find('=');
    const bool named = equals != std::string::npos;
    const fs::path file = named ? argument.substr(equals + 1) : argument;
    auto bytes = read_file(file);
    if (!bytes) {
        failure("cannot read " + file.string());
        return std::nullopt;
    }
    return ArchiveMember{named ? argument.substr(0, equals) : file.filename().string(),
                         std::move(*bytes)};
}

int build_archive_file(const std::vector<std::string>& arguments) {
    std::size_t first = 0;
    const bool lower = !arguments.empty() && arguments[0] == "--lower";
    if (lower)
        first = 1;
    if (arguments.size() <= first)
        return usage_error("build needs an archive name");
    std::vector<ArchiveMember> members;
    for (std::size_t i = first + 1; i < arguments.size(); ++i) {
        auto member = member_from_argument(arguments[i]);
        if (!member)
            return 1;
        members.push_back(std::move(*member));
    }
    try {
        const auto bytes = build_archive(members, lower ? 'o' : 'O');
        if (!write_file(arguments[first], bytes))
            return failure("cannot write " + arguments[first]);
    } catch (const std::invalid_argument& error) {
        return failure(error.what());
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (arguments.empty())
        return usage_error("no command given");
    const std::string& command = arguments[0];
    const std::vector<std::string> rest(arguments.begin() + 1, arguments.end());
    if (command == "--help" || command == "-h") {
        std::fputs(usage_text, stdout);
        return 0;
    }
    if (command == "list" && rest.size() == 1)
        return list_archive(rest[0]);
    if (command == "extract" && (rest.size() == 1 || rest.size() == 2))
        return extract_archive(rest[0], rest.size() == 2 ? rest[1] : ".");
    if (command == "build")
        return build_archive_file(rest);
    return usage_error("unknown command or wrong number of arguments: " + command);
}
