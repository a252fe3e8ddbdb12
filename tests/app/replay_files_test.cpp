// Where replays are kept and which ones: the newest 50 and those of games
// that stand in the high-score table; a replay that cannot be written costs
// nothing else.
#include "app/app_fixture.h"

#include <fstream>

#include "app/high_scores.h"
#include "app/replay_files.h"
#include "game/player.h"

namespace fs = std::filesystem;

namespace {

class ReplayFilesTest : public AppTest {
  protected:
    // Replay files 1 to `count` of one-player games scoring 10 times their number.
    void make_replays(int count) {
        fs::create_directories(scratch_ / "replays");
        for (int number = 1; number <= count; ++number) {
            char name[64];
            std::snprintf(name, sizeof name, "%06d-%d-4-0.bkr", number, 10 * number);
            std::ofstream(scratch_ / "replays" / name) << "replay";
        }
    }
    bool kept(const char* name) const { return fs::exists(scratch_ / "replays" / name); }
};

TEST_F(ReplayFilesTest, TheNewestFiftyAndThoseInTheTableAreKept) {
    make_replays(55);
    std::ofstream(scratch_ / "replays" / "notes.txt") << "mine";
    high_scores = {};
    high_scores[3] = {20, 0, 4, {}}; // replay 2's result
    ASSERT_TRUE(save_high_scores());
    player_count = 1;
    players[0].score = 7;
    players[0].rows = 1;
    save_replay(Replay{});
    EXPECT_TRUE(kept("000056-7-1-0.bkr"));
    EXPECT_TRUE(kept("000007-70-4-0.bkr"));
    EXPECT_FALSE(kept("000006-60-4-0.bkr"));
    EXPECT_FALSE(kept("000001-10-4-0.bkr"));
    EXPECT_TRUE(kept("000002-20-4-0.bkr")) << "its game stands in the table";
    EXPECT_TRUE(kept("notes.txt")) << "not a replay";
    int replays = 0;
    for (const auto& entry : fs::directory_iterator(scratch_ / "replays"))
        replays += entry.path().extension() == ".bkr";
    EXPECT_EQ(replays, replays_kept + 1);

    player_count = 2;
    save_replay(Replay{});
    EXPECT_TRUE(kept("000057.bkr"));
    EXPECT_FALSE(kept("000007-70-4-0.bkr"));
}

TEST_F(ReplayFilesTest, AReplayThatCannotBeWrittenLeavesEverythingAsItWas) {
    std::ofstream(scratch_ / "replays") << "a file where the folder would be";
    ASSERT_TRUE(save_high_scores());
    const auto table_time = fs::last_write_time(scratch_ / "HISCORE.DAT");
    save_replay(Replay{});
    EXPECT_EQ(fs::file_size(scratch_ / "replays"), 32u);
    EXPECT_EQ(fs::last_write_time(scratch_ / "HISCORE.DAT"), table_time);

    high_score_directory.reset();
    save_replay(Replay{});
    EXPECT_FALSE(replay_directory().has_value());
}

} // namespace
