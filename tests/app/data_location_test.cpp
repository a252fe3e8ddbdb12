// Started from its data or installed: where the data is read and the
// high-score table kept.

#include <filesystem>

#include "app/data_location.h"
#include "app/data_location_fixture.h"
#include "platform/user_paths.h"
#include "platform/utf8_path.h"

namespace {

namespace fs = std::filesystem;

TEST_F(DataLocationTest, TheCurrentDirectoryWinsWhenItHoldsAnyDataFile) {
    for (const char* name : {"ONLY.ONE", "DATA.ONE", "AUDIO.ONE", "VIDEO.ONE", "QMBLOKIT.MDS"}) {
        SCOPED_TRACE(name);
        write_file(name, {});
        choose_data_location(program, data_from_program);
        EXPECT_EQ(fs::current_path(), scratch);
        // Where the system has one place for the table (Windows) it is that
        // place; elsewhere the data's directory.
        ASSERT_TRUE(high_score_directory);
        EXPECT_EQ(*high_score_directory, platform::utf8_path(platform::own_files_directory()));
        fs::remove(name);
    }
    // A directory of that name is no data.
    fs::create_directory("DATA.ONE");
    EXPECT_FALSE(holds_game_data("."));
    EXPECT_FALSE(holds_game_data(scratch / "missing"));
}

// Started from the installed data directory itself (as root, say), the
// game keeps its table in the user's data directory; a copy whose data lies
// beside the program plays where it lies, unless the system has one place
// for the table.
TEST_F(DataLocationTest, TheInstalledDataDirectoryIsNeverTakenForACopyToPlayIn) {
    fs::current_path(installed);
    choose_data_location(program, data_from_program);
    EXPECT_EQ(fs::current_path(), installed);
    ASSERT_TRUE(high_score_directory);
    EXPECT_FALSE(high_score_directory->empty()); // the user's data directory

    high_score_directory = fs::path();
    choose_data_location(installed, ".");
    EXPECT_EQ(*high_score_directory, platform::utf8_path(platform::own_files_directory()));
}

} // namespace
