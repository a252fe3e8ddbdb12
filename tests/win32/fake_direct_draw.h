#pragma once

// A DirectDraw of the tests' own, to drive the Windows backend's full-screen
// picture through what a real display does: another program changes the
// display mode, the game's surfaces are lost for good (Restore answers
// "wrong mode"), and only a new mode with new surfaces shows a picture again.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct FakeDisplay {
    // Set by the test.
    bool refuse_mode = false; // SetDisplayMode fails
    // Counted and kept by the fake.
    int generation = 0; // display modes set so far, by anyone
    int modes_set = 0;  // by the game
    std::string mode;   // the last one, as "640x480x8"
    int chains_made = 0;
    int flips = 0;
    std::vector<std::uint8_t> shown;       // the picture of the last flip
    std::array<std::uint8_t, 3> colour1{}; // palette entry 1 as last set
    std::shared_ptr<void> objects;         // the fake's objects, kept until the display goes
};

// Another program sets a display mode of its own.
inline void change_mode_elsewhere(FakeDisplay& display) {
    ++display.generation;
}

// An IDirectDraw7 (as void*, its interface lives in the fake's own file),
// making surfaces of 640 x 480 x 8; `display` keeps it and all it makes.
void* make_fake_direct_draw(FakeDisplay& display);
