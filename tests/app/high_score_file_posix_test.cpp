// The high-score file where POSIX permissions, links and flushing matter:
// files the user may not touch, a full disk, and what reaches the disk when.

#include <chrono>
#include <filesystem>
#include <functional>
#include <future>
#include <string>
#include <vector>

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/high_score_rows.h"
#include "app/high_scores.h"
#include "app/screen_fixture.h"

namespace {

namespace fs = std::filesystem;

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

class HighScoreFilePosixTest : public ScreenTest {};

TEST_F(HighScoreFilePosixTest, ReplacingKeepsTheFilesPermissions) {
    write_file("HISCORE.DAT", file_bytes(sample_rows()));
    fs::permissions("HISCORE.DAT", fs::perms(0600));
    load_high_scores();
    high_scores[0].score = 99999;
    ASSERT_TRUE(save_high_scores());
    EXPECT_EQ(permissions_of("HISCORE.DAT"), fs::perms(0600));
    EXPECT_FALSE(fs::exists("HISCORE.NEW"));
}

TEST_F(HighScoreFilePosixTest, TheNewFileReachesTheDiskBeforeTheRenameAndTheRenameAfter) {
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

TEST_F(HighScoreFilePosixTest, AFileTheUserMayNotWriteIsNeverReplaced) {
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

TEST_F(HighScoreFilePosixTest, AFileTheUserMayNotReadKeepsItsTable) {
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

TEST_F(HighScoreFilePosixTest, APipeInPlaceOfTheFileIsLeftAloneWithoutWaitingForIt) {
    ASSERT_EQ(mkfifo("HISCORE.DAT", 0600), 0);
    high_scores = {};
    auto loading = std::async(std::launch::async, [] {
        load_high_scores();
        return save_high_scores();
    });
    if (loading.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        // A writer lets a waiting open go on, so that the test can end.
        close(open("HISCORE.DAT", O_WRONLY | O_NONBLOCK));
        FAIL() << "the game waited for a writer to the pipe";
    }
    EXPECT_FALSE(loading.get());
    EXPECT_EQ(high_scores[0].score, 1000); // the default table, in memory only
    EXPECT_TRUE(fs::is_fifo("HISCORE.DAT"));
}

TEST_F(HighScoreFilePosixTest, AFailedWriteLeavesTheOldFile) {
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
