// The high-score file: creation, checksum, short and hostile files, saving.

#include <chrono>
#include <climits>
#include <cstring>
#include <filesystem>
#include <functional>
#include <future>
#include <memory>
#include <string>
#include <vector>

#include "app/high_score_rows.h"
#include "app/high_scores.h"
#include "app/screen_fixture.h"
#include "game/session.h"
#include "platform/file_lock.h"

namespace {

namespace fs = std::filesystem;
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
    EXPECT_FALSE(temporary_file_left());
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
    load_high_scores();
    high_scores[4].score = -3;
    high_scores[4].name = {'Q'};
    ASSERT_TRUE(save_high_scores());

    std::vector<Row> expected = sample_rows();
    expected[4].score = -3;
    expected[4].name = "Q";
    EXPECT_EQ(read_whole_file("HISCORE.DAT"), file_bytes(expected));
    EXPECT_FALSE(temporary_file_left());
}

// Another copy of the game holds the table: the save waits for it, and then
// keeps what that copy saved.
TEST_F(HighScoreFileTest, ASaveWaitsWhileAnotherCopyHoldsTheTable) {
    load_high_scores();
    auto other_copy = std::make_unique<platform::FileLock>("HISCORE.LCK");
    auto saving =
        std::async(std::launch::async, [] { return save_high_score_entry(result(1100, "BERT")); });
    EXPECT_EQ(saving.wait_for(std::chrono::milliseconds(300)), std::future_status::timeout);
    std::vector<Row> rows = default_rows("NOONE");
    rows.insert(rows.begin(), {1200, 1, 2, "ANNA"});
    rows.pop_back();
    write_file("HISCORE.DAT", file_bytes(rows));
    other_copy.reset();
    ASSERT_TRUE(saving.get());

    rows.insert(rows.begin() + 1, {1100, 1, 2, "BERT"});
    rows.pop_back();
    EXPECT_EQ(read_whole_file("HISCORE.DAT"), file_bytes(rows));
    expect_table(rows);
    // A result that no longer beats the last row leaves the table as it is.
    ASSERT_TRUE(save_high_score_entry(result(600, "CARL")));
    EXPECT_EQ(read_whole_file("HISCORE.DAT"), file_bytes(rows));
}

TEST_F(HighScoreFileTest, ADirectoryOfThatNameCountsAsNoFile) {
    fs::create_directory("HISCORE.DAT");
    high_scores = {};
    load_high_scores();
    expect_table(default_rows("NOONE"));
    EXPECT_FALSE(save_high_scores());
    EXPECT_TRUE(fs::is_directory("HISCORE.DAT"));
    EXPECT_FALSE(temporary_file_left());
}

} // namespace
