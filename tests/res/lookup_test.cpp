// Finding data files: loose files, the four archives in order, the directory tree.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "formats/archive_writer.h"
#include "formats/byte_writer.h"
#include "res/resource.h"
#include "support/temporary_directory.h"
#include "test_files.h"

namespace fs = std::filesystem;

namespace {

Bytes text_bytes(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

void write_archive(const fs::path& path, std::vector<ArchiveMember> members, char magic = 'O') {
    write_file(path, build_archive(members, magic));
}

// Opens `name` and returns what it holds, closing the stream; "<none>" when not found.
std::string resource_text(const char* name) {
    std::FILE* stream = open_resource(name);
    if (stream == nullptr)
        return "<none>";
    const Bytes bytes = read_resource(stream, resource_size);
    std::fclose(stream);
    return std::string(bytes.begin(), bytes.end());
}

class ResourceLookup : public ::testing::Test {
  protected:
    void SetUp() override {
        resource_base = 1234;
        resource_size = 5678;
    }
    // Opens `name` and checks the lookup values and that the stream stands at the member.
    static void expect_opened_at(const char* name, std::uint32_t base, std::uint32_t size) {
        std::FILE* stream = open_resource(name);
        ASSERT_NE(stream, nullptr);
        EXPECT_EQ(resource_base, base);
        EXPECT_EQ(resource_size, size);
        EXPECT_EQ(std::ftell(stream), static_cast<long>(base));
        std::fclose(stream);
    }
    ScratchDirectory scratch;
};

TEST_F(ResourceLookup, LooseFileWinsOverArchiveMember) {
    write_file("HINTERS.PIX", text_bytes("loose"));
    write_archive("DATA.ONE", {{"HINTERS.PIX", text_bytes("from archive")}});
    EXPECT_EQ(resource_text("HINTERS.PIX"), "loose");
    EXPECT_EQ(resource_base, 0u);
    EXPECT_EQ(resource_size, 5u);
}

TEST_F(ResourceLookup, ArchivesAreSearchedInTheirFixedOrder) {
    write_archive("VIDEO.ONE", {{"A", text_bytes("video")}, {"D", text_bytes("video D")}});
    write_archive("AUDIO.ONE", {{"A", text_bytes("audio")}, {"C", text_bytes("audio C")}});
    write_archive("DATA.ONE", {{"A", text_bytes("data")}, {"B", text_bytes("data B")}});
    write_archive("ONLY.ONE", {{"X", text_bytes("only")}});
    EXPECT_EQ(resource_text("A"), "data");
    EXPECT_EQ(resource_text("B"), "data B");
    EXPECT_EQ(resource_text("C"), "audio C");
    EXPECT_EQ(resource_text("D"), "video D");
    EXPECT_EQ(resource_text("X"), "only");
}

TEST_F(ResourceLookup, MemberIsReadFromItsOffsetAndSize) {
    write_archive("DATA.ONE", {{"FIRST.TXT", text_bytes("one")},
                               {"SECOND.TXT", text_bytes("second member")},
                               {"THIRD.TXT", text_bytes("3")}});
    expect_opened_at("SECOND.TXT", 6 + 3 * 1032 + 3, 13);
}

TEST_F(ResourceLookup, NamesMatchWithoutRegardToLetterCase) {
    write_archive("DATA.ONE", {{"Hinters.Pix", text_bytes("mixed")}});
    EXPECT_EQ(resource_text("HINTERS.PIX"), "mixed");
    EXPECT_EQ(resource_text("hinters.pix"), "mixed");
    EXPECT_EQ(resource_text("HINTERS.PI"), "<none>");
    EXPECT_EQ(resource_text("HINTERS.PIXX"), "<none>");
}

TEST_F(ResourceLookup, OnlyMatchingMagicBytesMakeAnArchive) {
    write_archive("ONLY.ONE", {{"LOWER", text_bytes("oo archive")}}, 'o');
    Bytes mixed = build_archive(std::vector<ArchiveMember>{{"MIXED", text_bytes("x")}});
    mixed[0] = 0x4F;
    mixed[1] = 0x6F;
    write_file("DATA.ONE", mixed);
    mixed[0] = 0x6F;
    mixed[1] = 0x4F;
    write_file("AUDIO.ONE", mixed);
    EXPECT_EQ(resource_text("LOWER"), "oo archive");
    EXPECT_EQ(resource_text("MIXED"), "<none>");
    EXPECT_EQ(resource_base, 0u);
    EXPECT_EQ(resource_size, 0u);
}

TEST_F(ResourceLookup, EmptyMemberIsFoundAtItsOffset) {
    write_archive("DATA.ONE", {{"BEFORE", text_bytes("12345")}, {"EMPTY", {}}});
    expect_opened_at("EMPTY", 6 + 2 * 1032 + 5, 0);
}

TEST_F(ResourceLookup, OpenArchiveStreamIsSearchedFromAnyPositionAndStaysOpen) {
    write_archive("DATA.ONE", {{"ONE", text_bytes("1")}, {"TWO", text_bytes("22")}});
    std::FILE* stream = std::fopen("DATA.ONE", "rb");
    ASSERT_NE(stream, nullptr);
    EXPECT_FALSE(seek_archive_member(stream, "THREE"));
    EXPECT_EQ(resource_base, 0u);
    EXPECT_EQ(resource_size, 0u);
    ASSERT_TRUE(seek_archive_member(stream, "two"));
    EXPECT_EQ(std::ftell(stream), static_cast<long>(resource_base));
    EXPECT_EQ(read_resource(stream, resource_size), text_bytes("22"));
    std::fclose(stream);
}

TEST_F(ResourceLookup, NothingFoundLeavesNullAndZeroes) {
    EXPECT_EQ(open_resource("MISSING.PIX"), nullptr);
    EXPECT_EQ(resource_base, 0u);
    EXPECT_EQ(resource_size, 0u);
}

TEST_F(ResourceLookup, ADirectoryIsNotAFile) {
    fs::create_directory("SOUNDS");
    EXPECT_EQ(open_resource("SOUNDS"), nullptr);
}

TEST_F(ResourceLookup, FileTwoLevelsDownIsFoundByTheTreeSearch) {
    fs::create_directories("art/Deep");
    write_file("art/Deep/Titels.Pix", text_bytes("deep"));
    EXPECT_EQ(resource_text("TITELS.PIX"), "deep");
    EXPECT_EQ(resource_base, 0u);
    EXPECT_EQ(resource_size, 4u);
}

TEST_F(ResourceLookup, TreeSearchReportsThePathOfTheFileFound) {
    fs::create_directories("a/b");
    write_file("a/b/WANTED.TXT", text_bytes("x"));
    char name[resource_path_size] = "wanted.txt";
    tree_search_found = false;
    find_file_in_tree(".", name);
    EXPECT_TRUE(tree_search_found);
    EXPECT_STREQ(name, "./a/b/WANTED.TXT");
}

TEST_F(ResourceLookup, TreeSearchSkipsPathsTooLongForTheBuffer) {
    std::string deep = ".";
    while (deep.size() < resource_path_size)
        deep += "/" + std::string(200, 'd');
    fs::create_directories(deep);
    write_file(fs::path(deep) / "FAR.TXT", text_bytes("far"));
    EXPECT_EQ(resource_text("FAR.TXT"), "<none>");
}

// Hostile archives: entries that lie about where their data is, names without end, counts
// beyond the directory.
class DamagedArchive : public ResourceLookup {
  protected:
    Bytes archive_with(const std::string& name, std::uint32_t offset, std::uint32_t size) {
        Bytes archive = build_archive(std::vector<ArchiveMember>{{name, text_bytes("data")}});
        Bytes field;
        put_u32le(field, offset);
        put_u32le(field, size);
        std::copy(field.begin(), field.end(), archive.begin() + 6 + 1024);
        return archive;
    }
};

TEST_F(DamagedArchive, MemberBeyondTheEndIsNotOpened) {
    const Bytes good = archive_with("GOOD", 0, 0);
    write_file("DATA.ONE", archive_with("HINTERS.PIX", static_cast<std::uint32_t>(good.size()), 1));
    write_file("AUDIO.ONE", archive_with("HINTERS.PIX", 6 + 1032, 0xFFFFFFFFu));
    write_file("VIDEO.ONE", archive_with("HINTERS.PIX", 0xFFFFFFF0u, 0x20));
    EXPECT_EQ(resource_text("HINTERS.PIX"), "<none>");
    EXPECT_EQ(resource_size, 0u);
}

TEST_F(DamagedArchive, LaterArchiveStillServesANameBrokenInAnEarlierOne) {
    write_file("DATA.ONE", archive_with("NAME", 1u << 30, 4));
    write_archive("AUDIO.ONE", {{"NAME", text_bytes("sound")}});
    EXPECT_EQ(resource_text("NAME"), "sound");
}

TEST_F(DamagedArchive, NameWithoutTerminatorEndsAtTheField) {
    Bytes archive = archive_with("N", 0, 4);
    std::fill_n(archive.begin() + 6, 1024, static_cast<std::uint8_t>(~'n' & 0xFF));
    write_file("DATA.ONE", archive);
    const std::string full(1024, 'n');
    EXPECT_EQ(find_archive_member("DATA.ONE", full.substr(0, 1023).c_str()), nullptr);
    std::FILE* stream = find_archive_member("DATA.ONE", full.c_str());
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(resource_base, 0u);
    EXPECT_EQ(resource_size, 4u);
    std::fclose(stream);
}

TEST_F(DamagedArchive, CountBeyondTheDirectoryOrNegativeFindsNothing) {
    Bytes archive = build_archive(std::vector<ArchiveMember>{{"ONE", text_bytes("1")}});
    archive[2] = 0xFF; // count 255: the directory ends after one entry
    write_file("DATA.ONE", archive);
    EXPECT_EQ(resource_text("TWO"), "<none>");
    EXPECT_EQ(resource_text("ONE"), "1");
    archive[5] = 0x80; // negative count
    write_file("DATA.ONE", archive);
    EXPECT_EQ(resource_text("ONE"), "<none>");
}

TEST_F(DamagedArchive, ShortHeaderIsNotAnArchive) {
    write_file("DATA.ONE", {'O', 'O', 1});
    EXPECT_EQ(resource_text("ANY"), "<none>");
}

} // namespace
