// Started from its data or installed: where the data is read and the
// high-score table kept, and that a table with nowhere to go costs nothing.

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "app/data_location.h"
#include "app/high_scores.h"
#include "app/screen_fixture.h"

namespace {

namespace fs = std::filesystem;

// Sets (or, with nullopt, removes) an environment variable while it lives.
class EnvironmentValue {
  public:
    EnvironmentValue(const char* name, const std::optional<std::string>& value) : name_(name) {
        if (const char* old = std::getenv(name))
            previous_ = old;
        set(value);
    }
    ~EnvironmentValue() { set(previous_); }
    EnvironmentValue(const EnvironmentValue&) = delete;
    EnvironmentValue& operator=(const EnvironmentValue&) = delete;

  private:
    void set(const std::optional<std::string>& value) {
        if (value)
            setenv(name_, value->c_str(), 1);
        else
            unsetenv(name_);
    }
    const char* name_;
    std::optional<std::string> previous_;
};

// An installed tree below the scratch directory, which holds no data itself.
class DataLocationTest : public ScreenTest {
  protected:
    void SetUp() override {
        ScreenTest::SetUp();
        scratch = fs::current_path();
        installed = scratch / "usr" / "share" / "blokit";
        program = scratch / "usr" / "games";
        fs::create_directories(installed);
        fs::create_directories(program);
        write_file(installed / "DATA.ONE", {'o', 'o'});
    }
    void TearDown() override {
        high_score_directory = fs::path();
        ScreenTest::TearDown();
    }
    // The names in the installed data directory.
    std::string installed_files() const {
        std::string names;
        for (const fs::directory_entry& entry : fs::directory_iterator(installed))
            names += entry.path().filename().string() + " ";
        return names;
    }

    fs::path scratch;
    fs::path installed;
    fs::path program;
    const fs::path data_from_program = fs::path("..") / "share" / "blokit";
};

TEST_F(DataLocationTest, TheCurrentDirectoryWinsWhenItHoldsAnyDataFile) {
    for (const char* name : {"ONLY.ONE", "DATA.ONE", "AUDIO.ONE", "VIDEO.ONE", "QMBLOKIT.MDS"}) {
        SCOPED_TRACE(name);
        write_file(name, {});
        choose_data_location(program, data_from_program);
        EXPECT_EQ(fs::current_path(), scratch);
        ASSERT_TRUE(high_score_directory);
        EXPECT_TRUE(high_score_directory->empty());
        fs::remove(name);
    }
    // A directory of that name is no data.
    fs::create_directory("DATA.ONE");
    EXPECT_FALSE(holds_game_data("."));
    EXPECT_FALSE(holds_game_data(scratch / "missing"));
}

TEST_F(DataLocationTest, InstalledTheTableGoesToTheUsersDataDirectory) {
    const EnvironmentValue xdg("XDG_DATA_HOME", (scratch / "data").string());
    choose_data_location(program, data_from_program);
    EXPECT_EQ(fs::current_path(), installed);
    load_high_scores(); // made on the first save, with its directory
    high_scores[0].score = 4242;
    ASSERT_TRUE(save_high_scores());
    EXPECT_EQ(read_whole_file(scratch / "data" / "blokit" / "HISCORE.DAT").size(), 424u);
    EXPECT_EQ(installed_files(), "DATA.ONE ");
}

// Started from the installed data directory itself (as root, say), the
// game still writes nothing there; a copy whose data lies beside the program
// plays where it lies.
TEST_F(DataLocationTest, TheInstalledDataDirectoryIsNeverTakenForACopyToPlayIn) {
    fs::current_path(installed);
    choose_data_location(program, data_from_program);
    EXPECT_EQ(fs::current_path(), installed);
    ASSERT_TRUE(high_score_directory);
    EXPECT_FALSE(high_score_directory->empty()); // the user's data directory

    high_score_directory = fs::path();
    fs::current_path(installed);
    choose_data_location(installed, ".");
    EXPECT_TRUE(high_score_directory->empty());
}

TEST_F(DataLocationTest, WithoutXdgDataHomeTheTableGoesBelowHome) {
    const EnvironmentValue relative("XDG_DATA_HOME", "relative/ignored");
    const EnvironmentValue home("HOME", (scratch / "home").string());
    choose_data_location(program, data_from_program);
    load_high_scores();
    EXPECT_TRUE(fs::is_regular_file(scratch / "home/.local/share/blokit/HISCORE.DAT"));
    EXPECT_EQ(installed_files(), "DATA.ONE ");
}

TEST_F(DataLocationTest, ATableWithNowhereToGoIsKeptInMemoryOnly) {
    const EnvironmentValue xdg("XDG_DATA_HOME", std::nullopt);
    {
        const EnvironmentValue home("HOME", std::nullopt);
        choose_data_location(program, data_from_program);
    }
    EXPECT_FALSE(high_score_directory);
    load_high_scores();
    EXPECT_EQ(high_scores[0].score, 1000);
    high_scores[0].score = 5000;
    EXPECT_FALSE(save_high_scores());
    EXPECT_EQ(high_scores[0].score, 5000);
    EXPECT_EQ(installed_files(), "DATA.ONE ");

    // A file where the directory should be: nothing saved, nothing lost.
    write_file(scratch / "blocked", {'x'});
    high_score_directory = scratch / "blocked" / "blokit";
    EXPECT_FALSE(save_high_scores());
    EXPECT_EQ(read_whole_file(scratch / "blocked"), Bytes{'x'});
    EXPECT_EQ(high_scores[0].score, 5000);
}

} // namespace
