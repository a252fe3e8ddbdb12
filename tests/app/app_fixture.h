#pragma once

// The program's surroundings for tests of the screens and whole runs on the
// headless backend: a fresh machine, a scratch directory holding the game's
// data files (so that files the game writes land there), and the
// application flags as they are at program start.

#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>

#include "platform/headless/headless.h"
#include "platform/headless/screen.h"

// The title screen's own keys.
constexpr int key_1 = 0x31;
constexpr int key_2 = 0x32;
constexpr int key_b = 0x42;

class AppTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Links the named files of the run directory into the scratch directory
    // (all of them by default).
    void provide_data(std::initializer_list<const char*> names);
    // Opens a windowed 640 x 480 display and loads the lasting assets.
    void open_game_display();
    // The same over the game's pictures, with the window active.
    void open_active_game_display();

    // A lasting setting in the user's settings store (the registry on
    // Windows, a file elsewhere); nullopt while it is not stored.
    static std::optional<std::string> stored_setting(const char* name);
    static void store_setting(const char* name, const char* text);

    std::filesystem::path scratch_;
    std::filesystem::path config_;

  private:
    std::filesystem::path previous_;
};

// The index drawn most often in the rectangle, and how often.
struct Dominant {
    int index = -1;
    int count = 0;
};
Dominant dominant_index(const headless::Frame& frame, int left, int top, int right, int bottom);
// Pixels of the rectangle that differ from `index`.
int count_other(const headless::Frame& frame, int left, int top, int right, int bottom, int index);
