#include "app/app_fixture.h"

#include <array>
#include <cstdlib>

#include "app/app_state.h"
#include "app/assets.h"
#include "app/window_proc.h"
#include "gfx/display.h"
#include "platform/messages.h"

namespace fs = std::filesystem;

void AppTest::SetUp() {
    headless::reset(1000);
    quit_requested = false;
    app_active = 0;
    shutting_down = false;
    window_destroyed = false;
    surfaces_need_restore = false;
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    scratch_ = fs::temp_directory_path() / "blokit_app_tests" /
               (std::string(info->test_suite_name()) + "." + info->name());
    fs::remove_all(scratch_);
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
    load_settings_and_assets();
}

void AppTest::open_active_game_display() {
    provide_data({"DATA.ONE"});
    open_game_display();
    headless::post({platform::MessageKind::ActivateApp, 1});
}

std::string AppTest::save_frame(const headless::Frame& frame, const std::string& name) const {
    const fs::path directory = fs::path(BLOKIT_RUN_DIR).parent_path() / "app_test_frames";
    fs::create_directories(directory);
    const std::string path = (directory / (name + ".png")).string();
    EXPECT_TRUE(headless::write_frame_png(frame, path));
    return path;
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
