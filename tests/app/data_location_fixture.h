#pragma once

// The surroundings of the tests of where the game reads its data and keeps
// the high-score table, started from its data or installed.

#include <filesystem>
#include <string>

#include "app/high_scores.h"
#include "app/screen_fixture.h"

// An installed tree below the scratch directory, which holds no data itself.
class DataLocationTest : public ScreenTest {
  protected:
    void SetUp() override {
        ScreenTest::SetUp();
        scratch = std::filesystem::current_path();
        installed = scratch / "usr" / "share" / "blokit";
        program = scratch / "usr" / "games";
        std::filesystem::create_directories(installed);
        std::filesystem::create_directories(program);
        write_file(installed / "DATA.ONE", {'o', 'o'});
    }
    void TearDown() override {
        high_score_directory = std::filesystem::path();
        ScreenTest::TearDown();
    }
    // The names in the installed data directory.
    std::string installed_files() const {
        std::string names;
        for (const std::filesystem::directory_entry& entry :
             std::filesystem::directory_iterator(installed))
            names += entry.path().filename().string() + " ";
        return names;
    }

    std::filesystem::path scratch;
    std::filesystem::path installed;
    // The installed program, and the way from it to its data.
    std::filesystem::path program;
    const std::filesystem::path data_from_program =
        std::filesystem::path("..") / "share" / "blokit";
};
