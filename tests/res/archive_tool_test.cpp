// The archive writer and the blokit-pack tool built on it.

#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "formats/archive_reader.h"
#include "formats/archive_writer.h"
#include "res/resource.h"
#include "test_files.h"

namespace fs = std::filesystem;

namespace {

Bytes bytes_of(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

int run_pack(const std::string& arguments) {
    const std::string command =
        std::string(BLOKIT_PACK_TOOL) + " " + arguments + " >pack.out 2>pack.err";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string text_of(const fs::path& path) {
    const Bytes bytes = read_whole_file(path);
    return std::string(bytes.begin(), bytes.end());
}

TEST(ArchiveWriter, NamesAreStoredComplementedAndEndAtAStoredZero) {
    const Bytes archive = build_archive(std::vector<ArchiveMember>{{"AB", bytes_of("xyz")}});
    ASSERT_EQ(archive.size(), 6u + 1032 + 3);
    EXPECT_EQ(archive[0], 'O');
    EXPECT_EQ(archive[2], 1);
    EXPECT_EQ(archive[6], 0xFF - 'A');
    EXPECT_EQ(archive[7], 0xFF - 'B');
    EXPECT_EQ(archive[8], 0x00);
    EXPECT_EQ(archive[6 + 1024] | archive[6 + 1025] << 8, 6 + 1032);
    EXPECT_EQ(archive[6 + 1028], 3);
    const ArchiveListing listing = read_archive_directory(archive);
    ASSERT_TRUE(listing.error.empty());
    ASSERT_EQ(listing.entries.size(), 1u);
    EXPECT_EQ(listing.entries[0].name, "AB");
    EXPECT_EQ(archive_member_data(archive, listing.entries[0]).size(), 3u);
}

TEST(ArchiveWriter, RefusesNamesTheLookupCouldNotFind) {
    const auto refuses = [](std::vector<ArchiveMember> members) {
        EXPECT_THROW(build_archive(members), std::invalid_argument);
    };
    refuses({{"", {}}});
    refuses({{std::string(1024, 'a'), {}}});
    refuses({{std::string("A\xFF", 2), {}}});
    refuses({{std::string("A\0B", 3), {}}});
    refuses({{"SAME.PIX", {}}, {"same.pix", {}}});
    EXPECT_NO_THROW(build_archive(std::vector<ArchiveMember>{{std::string(1023, 'a'), {}}}));
    EXPECT_THROW(build_archive({}, 'x'), std::invalid_argument);
}

TEST(ArchiveReader, ReportsDamage) {
    Bytes archive = build_archive(std::vector<ArchiveMember>{{"A", bytes_of("1")}});
    EXPECT_FALSE(read_archive_directory(Bytes{'O', 'o', 0, 0, 0, 0}).error.empty());
    Bytes cut(archive.begin(), archive.begin() + 500);
    EXPECT_FALSE(read_archive_directory(cut).error.empty());
    archive[6 + 1024] = 0xF0; // offset beyond the end
    EXPECT_FALSE(read_archive_directory(archive).error.empty());
}

class PackTool : public ::testing::Test {
  protected:
    ScratchDirectory scratch;
};

TEST_F(PackTool, BuildListExtractRoundTrip) {
    write_file("WURF.WAV", bytes_of("sound bytes"));
    write_file("other.bin", bytes_of("x"));
    write_file("empty", {});
    ASSERT_EQ(run_pack("build DATA.ONE WURF.WAV Scroll.Txt=other.bin empty"), 0);

    // The game's own lookup finds what the tool packed.
    std::FILE* stream = open_resource("SCROLL.TXT");
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(read_resource(stream, resource_size), bytes_of("x"));
    std::fclose(stream);

    ASSERT_EQ(run_pack("list DATA.ONE"), 0);
    const std::string listing = text_of("pack.out");
    EXPECT_NE(listing.find("WURF.WAV"), std::string::npos);
    EXPECT_NE(listing.find("Scroll.Txt"), std::string::npos);
    EXPECT_NE(listing.find("        11  WURF.WAV"), std::string::npos);

    fs::create_directory("out");
    ASSERT_EQ(run_pack("extract DATA.ONE out"), 0);
    EXPECT_EQ(text_of("out/WURF.WAV"), "sound bytes");
    EXPECT_EQ(text_of("out/Scroll.Txt"), "x");
    EXPECT_TRUE(fs::exists("out/empty"));
}

TEST_F(PackTool, LowerCaseMagicOnRequest) {
    write_file("A", bytes_of("a"));
    ASSERT_EQ(run_pack("build --lower ONLY.ONE A"), 0);
    EXPECT_EQ(read_whole_file("ONLY.ONE")[0], 'o');
}

TEST_F(PackTool, RefusesBadInputWithAFailingStatus) {
    write_file("A", bytes_of("a"));
    EXPECT_EQ(run_pack("build X.ONE A a=A"), 1);
    EXPECT_FALSE(fs::exists("X.ONE"));
    EXPECT_EQ(run_pack("build X.ONE MISSING"), 1);
    EXPECT_EQ(run_pack("list A"), 1);
    EXPECT_EQ(run_pack("frobnicate"), 2);
    EXPECT_EQ(run_pack(""), 2);
    EXPECT_EQ(run_pack("--help"), 0);
    EXPECT_NE(text_of("pack.out").find("extract ARCHIVE"), std::string::npos);
}

TEST_F(PackTool, ExtractRefusesNamesThatLeaveTheDirectory) {
    write_file("EVIL.ONE",
               build_archive(std::vector<ArchiveMember>{{"../escaped", bytes_of("bad")}}));
    fs::create_directory("out");
    EXPECT_EQ(run_pack("extract EVIL.ONE out"), 1);
    EXPECT_FALSE(fs::exists("escaped"));
}

} // namespace
