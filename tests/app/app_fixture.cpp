#include "app/app_fixture.h"
#include "app/program_state.h"
#include "app/settings.h"

#include <array>
#include <cstdlib>
#include <cstring>

#include "app/assets.h"
#include "app/window_proc.h"
#include "game/session.h"
#include "gfx/display.h"
#include "platform/messages.h"
#include "platform/settings_store.h"
#include "support/temporary_directory.h"

namespace fs = std::filesystem;

void AppTest::SetUp() {
    reset_program_state();
    headless::reset(1000);
    scratch_ = make_temporary_directory("blokit-app");
    config_ = scratch_ / "config";
    fs::create_directories(config_);
    previous_ = fs::current_path();
    fs::current_path(scratch_);
    setenv("XDG_CONFIG_HOME", config_.c_str(), 1);
}

void AppTest::TearDown() {
    close_display();
    platform::set_window_procedure(nullptr);
    fs::current_path(previous_);
    unsetenv("XDG_CONFIG_HOME");
    std::error_code error;
    fs::remove_all(scratch_, error);
}

void AppTest::provide_data(std::initializer_list<const char*> names) {
    for (const char* name : names) {
        // A copy where links cannot be made (Windows).
        std::error_code error;
        fs::create_symlink(fs::path(BLOKIT_RUN_DIR) / name, scratch_ / name, error);
        if (error)
            fs::copy_file(fs::path(BLOKIT_RUN_DIR) / name, scratch_ / name);
    }
}

void AppTest::open_game_display() {
    platform::set_window_procedure(main_window_proc);
    ASSERT_TRUE(open_display(mode_windowed, "QM - Blokit", 8, 640, 480, 640, 480));
    load_settings();
    load_assets();
}

void AppTest::open_active_game_display() {
    provide_data({"DATA.ONE"});
    open_game_display();
    headless::post({platform::MessageKind::ActivateApp, 1});
}

namespace {
constexpr const char* settings_key = "SOFTWARE\\Quillmoor\\Blokit";
}

std::optional<std::string> AppTest::stored_setting(const char* name) {
    platform::SettingsKey* key = platform::open_settings_key(settings_key);
    char text[80];
    std::uint32_t size = sizeof text;
    const bool found = key && platform::query_settings_value(key, name, text, size);
    platform::close_settings_key(key);
    return found ? std::optional<std::string>(text) : std::nullopt;
}

void AppTest::store_setting(const char* name, const char* text) {
    platform::KeyDisposition disposition{};
    platform::SettingsKey* key = platform::create_settings_key(settings_key, "Blokit", disposition);
    ASSERT_NE(key, nullptr);
    EXPECT_TRUE(
        platform::set_settings_value(key, name, text, std::uint32_t(std::strlen(text) + 1)));
    platform::close_settings_key(key);
}

Dominant dominant_index(const headless::Frame& frame, int left, int top, int right, int bottom) {
    std::array<int, 256> counts{};
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            ++counts[frame.at(x, y)];
    Dominant best;
    for (int i = 0; i < 256; ++i)
        if (counts[std::size_t(i)] > best.count)
            best = {i, counts[std::size_t(i)]};
    return best;
}

int count_other(const headless::Frame& frame, int left, int top, int right, int bottom, int index) {
    int count = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            count += frame.at(x, y) != index;
    return count;
}
