#pragma once

// A one-player or two-player game just over: an open 640 x 480 display on the
// headless backend, the game's own font and background from the run
// directory, the window active, and a scratch directory as the current
// directory for the high-score file.

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "gfx/display.h"
#include "res/test_files.h"

class ScreenTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

  private:
    std::unique_ptr<ScratchDirectory> scratch_;
};

// Scripts `key` to go down at virtual time `at` and up `held` ms later.
void tap(int key, std::uint64_t at, std::uint64_t held = 40);
// Scripts one tap per character of `text` (capitals and blanks), `spacing` ms
// apart from `at` on; returns the time after the last one.
std::uint64_t type_text(const char* text, std::uint64_t at, std::uint64_t spacing = 100);

// The back buffer's 640 x 480 pixels, row by row.
std::vector<std::uint8_t> back_buffer_pixels();

// The pixels `text` sets when drawn alone at (x, y) with an advance of
// `advance`: a 640 x 480 picture, 0 where the text leaves the background.
std::vector<std::uint8_t> text_alone(const char* text, int x, int y, int advance);

// How many pixels of rows top to top + 27 of `picture` (640 x 480) differ
// from a shaded band starting at row `top` with `text` drawn over it at
// (x, top + 7) with `advance`.
int band_mismatches(const std::vector<std::uint8_t>& picture, int top, const char* text, int x,
                    int advance);
