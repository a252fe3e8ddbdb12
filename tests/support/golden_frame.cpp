#include "support/golden_frame.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "gfx/display.h"
#include "gfx/palette.h"
#include "support/temporary_directory.h"

namespace fs = std::filesystem;

namespace {

std::vector<char> file_bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

bool updating_golden() {
    const char* update = std::getenv("BLOKIT_UPDATE_GOLDEN");
    return update && std::string(update) == "1";
}

void expect_golden_frame(const headless::Frame& frame, const char* name) {
    const fs::path golden = fs::path(BLOKIT_GOLDEN_DIR) / (std::string(name) + ".png");
    if (updating_golden()) {
        EXPECT_TRUE(headless::write_frame_png(frame, golden.string())) << golden;
        return;
    }
    // The PNG writer is deterministic: equal pictures make equal files.
    const fs::path directory = make_temporary_directory("blokit-golden");
    const fs::path actual = directory / golden.filename();
    ASSERT_TRUE(headless::write_frame_png(frame, actual.string()));
    ASSERT_TRUE(fs::exists(golden)) << golden << " is missing; BLOKIT_UPDATE_GOLDEN=1 makes it";
    if (file_bytes(actual) == file_bytes(golden)) {
        fs::remove_all(directory);
        return;
    }
    ADD_FAILURE() << "the frame differs from " << golden << "; it is kept as " << actual
                  << " (BLOKIT_UPDATE_GOLDEN=1 rewrites the reference)";
}

headless::Frame back_buffer_frame() {
    headless::Frame frame;
    platform::LockedPixels locked;
    if (!display.back_buffer || display.back_buffer->lock(locked) != platform::Result::Ok)
        return frame;
    frame.width = locked.width;
    frame.height = locked.height;
    for (int y = 0; y < locked.height; ++y)
        frame.pixels.insert(frame.pixels.end(), locked.pixels + std::size_t(y) * locked.pitch,
                            locked.pixels + std::size_t(y) * locked.pitch + locked.width);
    display.back_buffer->unlock();
    for (std::size_t i = 0; i < palette_entries.size(); ++i) {
        frame.rgb[3 * i] = palette_entries[i].red;
        frame.rgb[3 * i + 1] = palette_entries[i].green;
        frame.rgb[3 * i + 2] = palette_entries[i].blue;
    }
    return frame;
}
