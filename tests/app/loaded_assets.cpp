#include "app/loaded_assets.h"
#include "app/program_state.h"

#include <cstdlib>

#include "app/assets.h"
#include "app/settings.h"
#include "data/run_directory.h"
#include "game/session.h"
#include "gfx/palette.h"
#include "platform/headless/headless.h"
#include "support/golden_frame.h"
#include "support/temporary_directory.h"

TemporaryConfigHome::TemporaryConfigHome() {
    if (const char* previous = std::getenv("XDG_CONFIG_HOME"))
        previous_ = previous;
    path_ = make_temporary_directory("blokit-config");
    setenv("XDG_CONFIG_HOME", path_.c_str(), 1);
}

TemporaryConfigHome::~TemporaryConfigHome() {
    if (previous_)
        setenv("XDG_CONFIG_HOME", previous_->c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
    std::error_code error;
    if (!path_.empty()) {
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, error);
        std::filesystem::remove_all(path_, error);
    }
}

void LoadedAssetsTest::SetUp() {
    reset_program_state();
    headless::reset();
    config.emplace();
    ASSERT_FALSE(config->path().empty());
    ASSERT_TRUE(open_display(mode_fullscreen, "QM - Blokit", 8, 640, 480, 640, 480));
    load_from_run_directory();
}

void LoadedAssetsTest::TearDown() {
    save_settings_and_release();
    config.reset();
}

void LoadedAssetsTest::load_from_run_directory() {
    InRunDirectory in_run_directory;
    load_settings();
    load_assets();
}

bool same_block(const Surface& a, int x, int y, const Surface& b, int sx, int sy, int w, int h) {
    platform::LockedPixels pa;
    platform::LockedPixels pb;
    if (a->lock(pa) != platform::Result::Ok)
        return false;
    if (b->lock(pb) != platform::Result::Ok) {
        a->unlock();
        return false;
    }
    bool same = true;
    for (int row = 0; row < h && same; ++row)
        for (int column = 0; column < w && same; ++column)
            same = pa.pixels[(y + row) * pa.pitch + x + column] ==
                   pb.pixels[(sy + row) * pb.pitch + sx + column];
    a->unlock();
    b->unlock();
    return same;
}

void expect_golden_screen(const char* name) {
    set_palette(game_palette);
    expect_golden_frame(back_buffer_frame(), name);
}
