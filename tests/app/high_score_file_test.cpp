// The high-score file: creation, checksum, short and hostile files, saving.

#include <climits>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <grp.h>
#include <pwd.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/high_scores.h"
#include "app/screen_fixture.h"
#include "game/session.h"

namespace {

namespace fs = std::filesystem;

struct Row {
    std::int32_t score;
    std::int32_t level;
    std::int32_t rows;
    std::string name; // up to 30 bytes, stored zero-padded
};

void put_u32(Bytes& bytes, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

std::uint32_t checksum_of(const std::vector<Row>& rows) {
    std::uint32_t sum = 0;
    for (const Row& row : rows)
        sum += static_cast<std::uint32_t>(row.score) +
               (row.name.empty() ? 0u : static_cast<unsigned char>(row.name[0]));
    return sum;
}

// The 420 table bytes of `rows` and the checksum `checksum`.
Bytes file_bytes(const std::vector<Row>& rows, std::uint32_t checksum) {
    Bytes bytes;
    for (const Row& row : rows) {
        put_u32(bytes, static_cast<std::uint32_t>(row.score));
        put_u32(bytes, static_cast<std::uint32_t>(row.level));
        put_u32(bytes, static_cast<std::uint32_t>(row.rows));
        std::string name = row.name;
        name.resize(30, '\0');
        bytes.insert(bytes.end(), name.begin(), name.end());
    }
    put_u32(bytes, checksum);
    return bytes;
}

Bytes file_bytes(const std::vector<Row>& rows) {
    return file_bytes(rows, checksum_of(rows));
}

std::vector<Row> default_rows(const char* name) {
    std::vector<Row> rows;
    for (int i = 0; i < 10; ++i)
        rows.push_back({1000 - 50 * i, 0, 0, name});
    return rows;
}

std::vector<Row> sample_rows() {
    std::vector<Row> rows;
    for (int i = 0; i < 10; ++i)
        rows.push_back({9000 - 700 * i, 18 - i, 90 - 7 * i, std::string(1, char('A' + i)) + "BEL"});
    return rows;
}

std::uint32_t stored_checksum(const Bytes& file) {
    return std::uint32_t(file[420]) | std::uint32_t(file[421]) << 8 |
           std::uint32_t(file[422]) << 16 | std::uint32_t(file[423]) << 24;
}

void expect_table(const std::vector<Row>& rows) {
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE("row " + std::to_string(i));
        EXPECT_EQ(high_scores[i].score, rows[i].score);
        EXPECT_EQ(high_scores[i].level, rows[i].level);
        EXPECT_EQ(high_scores[i].rows, rows[i].rows);
        EXPECT_STREQ(high_scores[i].name.data(), rows[i].name.c_str());
    }
}

// Runs `action` in a child process as an ordinary user, for whom file
// permissions count: when the tests run as root, the child first hands the
// current directory and the high-score file to "nobody" and takes that
// user's ids. True when the action returned true.
bool as_ordinary_user(const std::function<bool()>& action) {
    const pid_t child = fork();
    if (child == 0) {
        const passwd* nobody = getpwnam("nobody");
        if (geteuid() == 0 && (!nobody || chown(".", nobody->pw_uid, nobody->pw_gid) != 0 ||
                               lchown("HISCORE.DAT", nobody->pw_uid, nobody->pw_gid) != 0 ||
                               setgroups(0, nullptr) != 0 || setgid(nobody->pw_gid) != 0 ||
                               setuid(nobody->pw_uid) != 0))
            _exit(2);
        _exit(action() ? 0 : 1);
    }
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

fs::perms permissions_of(const char* path) {
    return fs::status(path).permissions();
}

// What the game flushed to the disk, by path, while `recording` is set; a
// path synced while "HISCORE.NEW" exists is marked as before the rename.
bool recording_syncs = false;
std::vector<std::string> synced_paths;

class HighScoreFileTest : public ScreenTest {};

TEST_F(HighScoreFileTest, MissingFileIsCreatedWithTheDefaultTable) {
    load_high_scores();
    const Bytes english = read_whole_file("HISCORE.DAT");
    ASSERT_EQ(english.size(), 424u);
    EXPECT_EQ(stored_checksum(english), 8530u);
    EXPECT_EQ(english, file_bytes(default_rows("NOONE")));
    expect_table(default_rows("NOONE"));

    fs::remove("HISCORE.DAT");
    use_english = false;
    load_high_scores();
    const Bytes german = read_whole_file("HISCORE.DAT");
    EXPECT_EQ(stored_checksum(german), 8530u);
    EXPECT_EQ(german, file_bytes(default_rows("NIEMAND")));
    expect_table(default_rows("NIEMAND"));
    EXPECT_FALSE(fs::exists("HISCORE.NEW"));
}

TEST_F(HighScoreFileTest, AFileWhoseChecksumMatchesIsReadAsItStands) {
    write_file("HISCORE.DAT", file_bytes(sample_rows()));
    load_high_scores();
    expect_table(sample_rows());
    EXPECT_EQ(read_whole_file("HISCORE.DAT"), file_bytes(sample_rows()));
}

TEST_F(HighScoreFileTest, AChangedByteBringsBackTheDefaultTable) {
    Bytes changed_score = file_bytes(sample_rows());
    changed_score[3 * 42 + 1] ^= 0x01; // a score byte of row 3
    Bytes changed_checksum = file_bytes(sample_rows());
    changed_checksum[423] ^= 0x80;
    for (const Bytes& file : {changed_score, changed_checksum}) {
        write_file("HISCORE.DAT", file);
        high_scores = {};
        load_high_scores();
        expect_table(default_rows("NOONE"));
        EXPECT_EQ(read_whole_file("HISCORE.DAT"), file_bytes(default_rows("NOONE")));
    }
}

TEST_F(HighScoreFileTest, AShortFileIsUsedAsFarAsItGoes) {
    load_high_scores(); // the defaults, in memory and on disk
    Bytes file = file_bytes(sample_rows());
    file.resize(100); // rows 0 and 1, and row 2 up to the fourth name byte
    write_file("HISCORE.DAT", file);
    load_high_scores();

    std::vector<Row> expected = sample_rows();
    expected[2].name = "CBELE"; // "CBEL" from the file, then the rest of "NOONE"
    for (std::size_t i = 3; i < 10; ++i)
        expected[i] = default_rows("NOONE")[i];
    expect_table(expected);
    EXPECT_EQ(read_whole_file("HISCORE.DAT"), file); // reading changes nothing on disk

    // Without all four checksum bytes there is nothing to test against.
    Bytes cut_checksum = file_bytes(sample_rows(), 12345);
    cut_checksum.resize(422);
    write_file("HISCORE.DAT", cut_checksum);
    load_high_scores();
    expect_table(sample_rows());

    write_file("HISCORE.DAT", {});
    load_high_scores();
    expect_table(sample_rows());
}

TEST_F(HighScoreFileTest, HostileContentsStayInsideTheTable) {
    std::vector<Row> rows = sample_rows();
    rows[0] = {INT_MAX, INT_MAX, INT_MAX, std::string(30, 'X')};
    rows[1] = {INT_MIN, INT_MIN, INT_MIN, std::string(30, '\xFF')};
    rows[2].name = std::string(30, '\x01');
    Bytes file = file_bytes(rows); // the checksum wraps round
    file.resize(200000, 0x5A);     // far more than the table
    write_file("HISCORE.DAT", file);
    load_high_scores();

    EXPECT_EQ(high_scores[0].score, INT_MAX);
    EXPECT_EQ(high_scores[1].score, INT_MIN);
    EXPECT_EQ(std::string(high_scores[0].name.data()), std::string(29, 'X'));
    EXPECT_EQ(std::string(high_scores[1].name.data()), std::string(29, '\xFF'));
    EXPECT_EQ(strnlen(high_scores[2].name.data(), 30), 29u);
    EXPECT_EQ(read_whole_file("HISCORE.DAT").size(), 200000u);

    // Drawn and edited without reading or writing past a name.
    draw_high_score_table();
    new_entry_row = 0;
    draw_edited_row();
    name_key_latch = false;
    edit_name_step(high_scores[0].name.data(), name_limit);
    EXPECT_EQ(std::string(high_scores[0].name.data()), std::string(29, 'X'));
}

TEST_F(HighScoreFileTest, SavingWritesTheTableAndItsChecksum) {
    write_file("HISCORE.DAT", file_bytes(sample_rows()));
    fs::permissions("HISCORE.DAT", fs::perms(0600));
    load_high_scores();
    high_scores[4].score = -3;
    high_scores[4].name = {'Q'};
    ASSERT_TRUE(save_high_scores());

    std::vector<Row> expected = sample_rows();
    expected[4].score = -3;
    expected[4].name = "Q";
    EXPECT_EQ(read_whole_file("HISCORE.DAT"), file_bytes(expected));
    EXPECT_EQ(permissions_of("HISCORE.DAT"), fs::perms(0600));
    EXPECT_FALSE(fs::exists("HISCORE.NEW"));
}

TEST_F(HighScoreFileTest, TheNewFileReachesTheDiskBeforeTheRenameAndTheRenameAfter) {
    load_high_scores();
    synced_paths.clear();
    recording_syncs = true;
    const bool saved = save_high_scores();
    recording_syncs = false;
    ASSERT_TRUE(saved);
    const fs::path here = fs::current_path();
    EXPECT_EQ(synced_paths,
              (std::vector<std::string>{(here / "HISCORE.NEW").string() + " before the rename",
                                        here.string()}));
}

TEST_F(HighScoreFileTest, AFileTheUserMayNotWriteIsNeverReplaced) {
    const Bytes old_file = file_bytes(sample_rows());
    Bytes broken = old_file;
    broken[0] ^= 0x10;
    for (const Bytes& file : {old_file, broken}) {
        write_file("HISCORE.DAT", file);
        fs::permissions("HISCORE.DAT", fs::perms(0444));
        const std::int32_t first_score = file == old_file ? 9000 : 1000;
        EXPECT_TRUE(as_ordinary_user([first_score] {
            load_high_scores();
            const bool loaded = high_scores[0].score == first_score;
            high_scores[0].score = 99999;
            return loaded && !save_high_scores();
        }));
        EXPECT_EQ(read_whole_file("HISCORE.DAT"), file);
        EXPECT_EQ(permissions_of("HISCORE.DAT"), fs::perms(0444));
        EXPECT_FALSE(fs::exists("HISCORE.NEW"));
        fs::remove("HISCORE.DAT");
    }
}

TEST_F(HighScoreFileTest, AFileTheUserMayNotReadKeepsItsTable) {
    const Bytes old_file = file_bytes(sample_rows());
    write_file("HISCORE.DAT", old_file);
    fs::permissions("HISCORE.DAT", fs::perms::none);
    EXPECT_TRUE(as_ordinary_user([] {
        high_scores = {};
        load_high_scores();
        return high_scores[0].score == 1000 && high_scores[9].score == 550 && !save_high_scores();
    }));
    EXPECT_EQ(read_whole_file("HISCORE.DAT"), old_file);
    EXPECT_EQ(permissions_of("HISCORE.DAT"), fs::perms::none);
}

TEST_F(HighScoreFileTest, ADirectoryOfThatNameCountsAsNoFile) {
    fs::create_directory("HISCORE.DAT");
    high_scores = {};
    load_high_scores();
    expect_table(default_rows("NOONE"));
    EXPECT_FALSE(save_high_scores());
    EXPECT_TRUE(fs::is_directory("HISCORE.DAT"));
    EXPECT_FALSE(fs::exists("HISCORE.NEW"));
}

TEST_F(HighScoreFileTest, AFailedWriteLeavesTheOldFile) {
    // Every write to the new file fails as on a full disk.
    fs::create_symlink("/dev/full", "HISCORE.NEW");
    load_high_scores();
    expect_table(default_rows("NOONE")); // in memory only
    EXPECT_FALSE(fs::exists("HISCORE.DAT"));

    const Bytes old_file = file_bytes(sample_rows());
    write_file("HISCORE.DAT", old_file);
    fs::create_symlink("/dev/full", "HISCORE.NEW");
    load_high_scores();
    high_scores[0].score = 99999;
    EXPECT_FALSE(save_high_scores());
    EXPECT_EQ(read_whole_file("HISCORE.DAT"), old_file);

    // A changed byte cannot cost the file either while nothing can be written.
    Bytes broken = old_file;
    broken[0] ^= 0x10;
    write_file("HISCORE.DAT", broken);
    fs::create_symlink("/dev/full", "HISCORE.NEW");
    load_high_scores();
    expect_table(default_rows("NOONE"));
    EXPECT_EQ(read_whole_file("HISCORE.DAT"), broken);
}

} // namespace

// Stands in for the system's fsync in this test program, to see what the game
// flushes and when.
extern "C" int fsync(int fd) {
    if (recording_syncs) {
        std::string path = fs::read_symlink("/proc/self/fd/" + std::to_string(fd)).string();
        if (fs::exists("HISCORE.NEW"))
            path += " before the rename";
        synced_paths.push_back(path);
    }
    return static_cast<int>(syscall(SYS_fsync, fd));
}
