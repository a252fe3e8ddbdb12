#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <climits>
#include <csignal>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>

#include "app/assets.h"
#include "app/loaded_assets.h"
#include "app/settings.h"
#include "audio/music.h"
#include "game/controls.h"
#include "game/driver.h"
#include "game/game_test_support.h"
#include "game/player.h"
#include "game/playfield.h"
#include "gfx/tile_set.h"
#include "platform/headless/headless.h"
#include "platform/keyboard.h"
#include "platform/posix/settings_file.h"
#include "platform/settings_store.h"
#include "res/test_files.h"

namespace {

namespace fs = std::filesystem;

std::string read_file(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

void write_file(const fs::path& path, const std::string& content) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
}

int files_in(const fs::path& directory) {
    std::error_code error;
    int count = 0;
    for (auto it = fs::directory_iterator(directory, error); !error && it != fs::end(it);
         it.increment(error))
        ++count;
    return count;
}

class Settings : public LoadedAssetsTest {
  protected:
    // Stores `content` as the settings file and runs the start-up again.
    std::array<std::int32_t, 2> choice_after_loading(const std::string& content) {
        save_settings_and_release();
        write_file(config->settings_file(), content);
        EXPECT_TRUE(open_display(mode_fullscreen, "QM - Blokit", 8, 640, 480, 640, 480));
        load_from_run_directory();
        return key_set_choice;
    }
};

using Choice = std::array<std::int32_t, 2>;

TEST_F(Settings, NothingStoredStartsWithFirstKeySetsAndOnePlayer) {
    EXPECT_EQ(key_set_choice, (Choice{0, 0}));
    EXPECT_EQ(player_count, 1);
    EXPECT_EQ(game_mode, GameMode::Blokit);
    EXPECT_EQ(players[0].losses, 0);
    EXPECT_EQ(starting_key_set(0), controls_arrows_ctrl);
}

TEST_F(Settings, KeySetChangedInAGameSurvivesTheNextStart) {
    start_game();
    hold_key(platform::vk::F1, 100, 200);
    headless::advance(150);
    check_key_set_change();
    EXPECT_EQ(key_set_choice, (Choice{1, 0}));
    save_settings_and_release();
    const std::string stored = read_file(config->settings_file());
    EXPECT_NE(stored.find("Options=1 0\n"), std::string::npos) << stored;

    ASSERT_TRUE(open_display(mode_fullscreen, "QM - Blokit", 8, 640, 480, 640, 480));
    load_from_run_directory();
    EXPECT_EQ(key_set_choice, (Choice{1, 0}));
    EXPECT_EQ(starting_key_set(0), controls_arrows_up);
}

TEST_F(Settings, StoredTextIsReadLikeTwoDecimalNumbers) {
    EXPECT_EQ(choice_after_loading("Options=1\n"), (Choice{1, 0}));
    EXPECT_EQ(choice_after_loading("options=-1 7\n"), (Choice{-1, 7}));
    EXPECT_EQ(choice_after_loading("# edited\nOther=5 5\nOptions=0 1"), (Choice{0, 1}));
    EXPECT_EQ(choice_after_loading("Options=abc 1\n"), (Choice{0, 0}));
    EXPECT_EQ(choice_after_loading("Options=\n"), (Choice{0, 0}));
    // Too large for an int: still not zero, so the second key set.
    EXPECT_EQ(choice_after_loading("Options=99999999999999999999 -99999999999999999999\n"),
              (Choice{INT32_MAX, INT32_MIN}));
}

TEST_F(Settings, ShortHugeOrHostileFilesFallBackToFirstKeySets) {
    EXPECT_EQ(choice_after_loading(""), (Choice{0, 0}));
    EXPECT_EQ(choice_after_loading("Options"), (Choice{0, 0}));
    EXPECT_EQ(choice_after_loading(std::string("Opt\0ions=1 1\n", 14)), (Choice{0, 0}));
    EXPECT_EQ(choice_after_loading(std::string("Options=1\0 1\n", 13)), (Choice{1, 0}));
    // A value longer than the 80 bytes read is not read at all.
    EXPECT_EQ(choice_after_loading("Options=1 1" + std::string(80, ' ') + "\n"), (Choice{0, 0}));
    EXPECT_EQ(choice_after_loading("Options=1 1" + std::string(60, ' ') + "\n"), (Choice{1, 1}));
    std::string binary(4096, '\0');
    for (std::size_t i = 0; i < binary.size(); ++i)
        binary[i] = char(i * 7919 % 251);
    EXPECT_EQ(choice_after_loading(binary), (Choice{0, 0}));
    const std::string huge = "Options=1 1\n" + std::string(platform::settings_file_limit, 'x');
    EXPECT_EQ(choice_after_loading(huge), (Choice{0, 0}));
    // The file that could not be read is not written over either.
    save_settings_and_release();
    EXPECT_EQ(read_file(config->settings_file()), huge);
    ASSERT_TRUE(open_display(mode_fullscreen, "QM - Blokit", 8, 640, 480, 640, 480));
    load_from_run_directory();
}

TEST_F(Settings, OnlyAStoredZeroKeepsTheMusicOff) {
    EXPECT_EQ(choice_after_loading("Options=1 0\nMusic=0\n"), (Choice{1, 0}));
    EXPECT_FALSE(music_on);
    for (const char* content : {"", "Music=1\n", "Music=\n", "Music=off\n", "music=-3\n"}) {
        choice_after_loading(content);
        EXPECT_TRUE(music_on) << content;
    }
    music_on = false;
    save_settings_and_release();
    EXPECT_EQ(read_file(config->settings_file()), "Music=0\nOptions=0 0\n");
    ASSERT_TRUE(open_display(mode_fullscreen, "QM - Blokit", 8, 640, 480, 640, 480));
    load_from_run_directory();
}

TEST_F(Settings, SavingKeepsEverythingElseInTheFile) {
    choice_after_loading("# my settings\nOther=hello\nOptions=0 0\nLast=1\n");
    key_set_choice = {0, 1};
    save_settings_and_release();
    EXPECT_EQ(read_file(config->settings_file()),
              "# my settings\nOther=hello\nOptions=0 1\nLast=1\nMusic=1\n");
    EXPECT_EQ(files_in(config->settings_file().parent_path()), 1);
    ASSERT_TRUE(open_display(mode_fullscreen, "QM - Blokit", 8, 640, 480, 640, 480));
    load_from_run_directory();
}

TEST_F(Settings, UnwritablePlaceLosesNothing) {
    choice_after_loading("Options=1 0\n");
    key_set_choice = {0, 1};
    const fs::path folder = config->settings_file().parent_path();

    // Writing the new file fails part-way: the old one stays as it was.
    {
        const auto previous_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit previous{};
        getrlimit(RLIMIT_FSIZE, &previous);
        rlimit tiny = previous;
        tiny.rlim_cur = 4;
        setrlimit(RLIMIT_FSIZE, &tiny);
        save_settings_and_release();
        setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, previous_handler);
    }
    EXPECT_EQ(read_file(config->settings_file()), "Options=1 0\n");
    EXPECT_EQ(files_in(folder), 1);

    // A folder that cannot be written to (not enforced for root).
    if (geteuid() != 0) {
        fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
        save_settings_and_release();
        fs::permissions(folder, fs::perms::owner_all);
        EXPECT_EQ(read_file(config->settings_file()), "Options=1 0\n");
    }

    // The folder cannot be made because a file stands in its place.
    fs::remove_all(folder);
    write_file(folder, "not a folder");
    save_settings_and_release();
    EXPECT_EQ(read_file(folder), "not a folder");
    fs::remove(folder);
    ASSERT_TRUE(open_display(mode_fullscreen, "QM - Blokit", 8, 640, 480, 640, 480));
    load_from_run_directory();
}

TEST_F(Settings, ShutDownDestroysEverySpriteExactlyOnce) {
    std::vector<std::weak_ptr<platform::Surface>> surfaces;
    int sprites = 0;
    auto keep = [&](const std::unique_ptr<Sprite>& sprite) {
        if (!sprite)
            return;
        ++sprites;
        surfaces.push_back(sprite->surface);
    };
    for (const auto& row : tile_table)
        for (const auto& sprite : row)
            keep(sprite);
    keep(board_side_sprite);
    keep(board_bottom_sprite);
    keep(game_over_sprite);
    EXPECT_EQ(sprites, 123);
    ASSERT_TRUE(background_surface);

    save_settings_and_release();
    for (const auto& surface : surfaces)
        EXPECT_TRUE(surface.expired());
    EXPECT_FALSE(background_surface);
    EXPECT_FALSE(display.back_buffer);
    // The second call, as after the window is destroyed, stores again and
    // releases nothing twice.
    key_set_choice = {1, 1};
    save_settings_and_release();
    EXPECT_NE(read_file(config->settings_file()).find("Options=1 1\n"), std::string::npos);
    ASSERT_TRUE(open_display(mode_fullscreen, "QM - Blokit", 8, 640, 480, 640, 480));
    load_from_run_directory();
}

TEST_F(Settings, MissingPicturesLeaveTheirAssetsAbsentAndDrawingGoesOn) {
    save_settings_and_release();
    ASSERT_TRUE(open_display(mode_fullscreen, "QM - Blokit", 8, 640, 480, 640, 480));
    {
        const ScratchDirectory no_data_files;
        load_settings();
        load_assets();
    }
    EXPECT_FALSE(background_surface);
    EXPECT_FALSE(game_font.surface);
    EXPECT_EQ(player_count, 1);

    players[0].piece.cells.fill(1);
    players[0].piece.colour = 2;
    players[0].cell(3, 3) = 5;
    screen_dirty = 0;
    redraw_playfield();
    EXPECT_EQ(screen_dirty, 1);
    save_settings_and_release();
    ASSERT_TRUE(open_display(mode_fullscreen, "QM - Blokit", 8, 640, 480, 640, 480));
    load_from_run_directory();
}

TEST(SettingsStore, KeysAreCreatedOnceAndValuesCarryTheirZero) {
    TemporaryConfigHome home;
    const char* path = "SOFTWARE\\Test\\Store";
    EXPECT_EQ(platform::open_settings_key(path), nullptr);
    platform::KeyDisposition disposition{};
    platform::SettingsKey* key = platform::create_settings_key(path, "Store", disposition);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(disposition, platform::KeyDisposition::CreatedNewKey);
    EXPECT_TRUE(platform::set_settings_value(key, "Name", "abc", 4));
    EXPECT_FALSE(platform::set_settings_value(key, "Name", "two\nlines", 10));
    EXPECT_FALSE(platform::set_settings_value(key, "a=b", "x", 2));
    platform::close_settings_key(key);

    key = platform::create_settings_key(path, "Store", disposition);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(disposition, platform::KeyDisposition::OpenedExistingKey);
    platform::close_settings_key(key);

    key = platform::open_settings_key(path);
    ASSERT_NE(key, nullptr);
    char buffer[8] = "zzzzzzz";
    std::uint32_t size = sizeof buffer;
    EXPECT_TRUE(platform::query_settings_value(key, "name", buffer, size));
    EXPECT_EQ(size, 4u);
    EXPECT_STREQ(buffer, "abc");
    size = 3;
    std::memcpy(buffer, "zzzzzzz", 8);
    EXPECT_FALSE(platform::query_settings_value(key, "Name", buffer, size));
    EXPECT_EQ(size, 4u);
    EXPECT_STREQ(buffer, "zzzzzzz");
    EXPECT_FALSE(platform::query_settings_value(key, "Missing", buffer, size));
    platform::close_settings_key(key);
    EXPECT_EQ(read_file(home.path() / "Test" / "Store.conf"), "# Store\nName=abc\n");

    EXPECT_EQ(platform::settings_key_file("SOFTWARE\\..\\x"), "");
    EXPECT_EQ(platform::settings_key_file("SOFTWARE"), "");
    EXPECT_EQ(platform::settings_key_file("SOFTWARE\\a\\\\b"), "");
}

} // namespace
