#pragma once

// A headless 640 x 480 display with the game's real assets loaded from the
// run directory, and a settings store of its own in a temporary folder.

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "gfx/display.h"

// Points XDG_CONFIG_HOME at a fresh temporary folder while the object lives.
class TemporaryConfigHome {
  public:
    TemporaryConfigHome();
    ~TemporaryConfigHome();
    TemporaryConfigHome(const TemporaryConfigHome&) = delete;
    TemporaryConfigHome& operator=(const TemporaryConfigHome&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The file that holds the game's settings.
    std::filesystem::path settings_file() const { return path_ / "Quillmoor" / "Blokit.conf"; }

  private:
    std::filesystem::path path_;
    std::optional<std::string> previous_;
};

class LoadedAssetsTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    // Loads the settings and assets with the run directory as the current
    // directory, which is restored afterwards.
    static void load_from_run_directory();

    std::optional<TemporaryConfigHome> config;
};

// Whether the w x h block at (x, y) of `a` equals the one at (sx, sy) of `b`.
bool same_block(const Surface& a, int x, int y, const Surface& b, int sx, int sy, int w, int h);

// Checks the back buffer, in the game's colours, against its golden frame.
void expect_golden_screen(const char* name);
