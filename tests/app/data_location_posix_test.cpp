// Installed on a POSIX system: the table goes to the user's XDG data
// directory, and a table with nowhere to go costs nothing.

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "app/data_location.h"
#include "app/data_location_fixture.h"

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
