// The high-score file where POSIX permissions, links and flushing matter:
// files the user may not touch, a full disk, and what reaches the disk when.

#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>
#include <future>
#include <string>
#include <vector>

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/high_score_rows.h"
#include "app/high_scores.h"
#include "app/screen_fixture.h"

namespace {

namespace fs = std::filesystem;

// Runs `action` in a child process, as another copy of the game would run.
// True when the action returned true.
bool in_child_process(const std::function<bool()>& action) {
    const pid_t child = fork();
    if (child == 0)
        _exit(action() ? 0 : 1);
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

// The same as an ordinary user, for whom file permissions count: when the
// tests run as root, the child first hands the current directory and the
// high-score file to "nobody" and takes that user's ids.
bool as_ordinary_user(const std::function<bool()>& action) {
    return in_child_process([&action] {
        const passwd* nobody = getpwnam("nobody");
        if (geteuid() == 0 && (!nobody || chown(".", nobody->pw_uid, nobody->pw_gid) != 0 ||
                               lchown("HISCORE.DAT", nobody->pw_uid, nobody->pw_gid) != 0 ||
                               setgroups(0, nullptr) != 0 || setgid(nobody->pw_gid) != 0 ||
                               setuid(nobody->pw_uid) != 0))
            return false;
        return action();
    });
}

// The same where no file can grow past 100 bytes, as on a full disk.
bool on_a_full_disk(const std::function<bool()>& action) {
    return in_child_process([&action] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{100, 100};
        return setrlimit(RLIMIT_FSIZE, &limit) == 0 && action();
    });
}

fs::perms permissions_of(const char* path) {
    return fs::status(path).permissions();
}

// What the game flushed to the disk, by the path each had then, while
// `recording` is set.
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
    EXPECT_FALSE(temporary_file_left());
}

TEST_F(HighScoreFilePosixTest, TheNewFileReachesTheDiskBeforeTheRenameAndTheRenameAfter) {
    load_high_scores();
    synced_paths.clear();
    recording_syncs = true;
    const bool saved = save_high_scores();
    recording_syncs = false;
    ASSERT_TRUE(saved);
    // The new file still under its temporary name, so before the rename.
    const fs::path here = fs::current_path();
    ASSERT_EQ(synced_paths.size(), 2u);
    EXPECT_EQ(synced_paths[0].rfind((here / "HISCORE.DAT.").string(), 0), 0u) << synced_paths[0];
    EXPECT_EQ(synced_paths[1], here.string());
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
        EXPECT_FALSE(temporary_file_left());
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
    EXPECT_TRUE(on_a_full_disk([] {
        load_high_scores();
        return high_scores[0].score == 1000; // the defaults, in memory only
    }));
    EXPECT_FALSE(fs::exists("HISCORE.DAT"));

    const Bytes old_file = file_bytes(sample_rows());
    write_file("HISCORE.DAT", old_file);
    EXPECT_TRUE(on_a_full_disk([] {
        load_high_scores();
        high_scores[0].score = 99999;
        return !save_high_scores() && !save_high_score_entry(result(99999, "ANNA"));
    }));
    EXPECT_EQ(read_whole_file("HISCORE.DAT"), old_file);

    // A changed byte cannot cost the file either while nothing can be written.
    Bytes broken = old_file;
    broken[0] ^= 0x10;
    write_file("HISCORE.DAT", broken);
    EXPECT_TRUE(on_a_full_disk([] {
        load_high_scores();
        return high_scores[0].score == 1000;
    }));
    EXPECT_EQ(read_whole_file("HISCORE.DAT"), broken);
    EXPECT_FALSE(temporary_file_left());
}

// Copy A of the game is in its name entry, copy B opens its table, A saves,
// B saves: both results stand.
TEST_F(HighScoreFilePosixTest, TwoCopiesSavingInTurnKeepBothResults) {
    int opened[2];
    int saved[2];
    ASSERT_EQ(pipe(opened), 0);
    ASSERT_EQ(pipe(saved), 0);
    load_high_scores();
    const HighScoreEntry anna = result(1200, "ANNA");
    insert_high_score(anna);
    char token = 0;
    auto copy_b = std::async(std::launch::async, [&] {
        return in_child_process([&] {
            load_high_scores();
            const HighScoreEntry bert = result(1100, "BERT");
            insert_high_score(bert);
            char signal = 0;
            return write(opened[1], &signal, 1) == 1 && read(saved[0], &signal, 1) == 1 &&
                   save_high_score_entry(bert);
        });
    });
    ASSERT_EQ(read(opened[0], &token, 1), 1);
    ASSERT_TRUE(save_high_score_entry(anna));
    ASSERT_EQ(write(saved[1], &token, 1), 1);
    EXPECT_TRUE(copy_b.get());
    for (int fd : {opened[0], opened[1], saved[0], saved[1]})
        close(fd);

    std::vector<Row> rows = default_rows("NOONE");
    rows.insert(rows.begin(), {{1200, 1, 2, "ANNA"}, {1100, 1, 2, "BERT"}});
    rows.resize(10);
    EXPECT_EQ(read_whole_file("HISCORE.DAT"), file_bytes(rows));
}

} // namespace

// Stands in for the system's fsync in this test program, to see what the game
// flushes and when.
extern "C" int fsync(int fd) {
    if (recording_syncs)
        synced_paths.push_back(fs::read_symlink("/proc/self/fd/" + std::to_string(fd)).string());
    return static_cast<int>(syscall(SYS_fsync, fd));
}
