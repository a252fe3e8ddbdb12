#include "platform/sdl/saved_round.h"
#include "support/temporary_directory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

TEST(SavedRound, ComesBackForItsKeyOnlyAndNotWhenDamaged) {
    const fs::path directory = make_temporary_directory("blokit-round");
    const std::string path = (directory / "cache" / "music-round").string();
    std::vector<std::int16_t> round;
    for (int i = 0; i < 2000; ++i)
        round.push_back(static_cast<std::int16_t>(i * 37 - 30000));
    const sdl::RoundMark saved{7, 400, 4};
    ASSERT_TRUE(sdl::save_round(path, saved, round)) << "the directory is made";
    EXPECT_EQ(std::distance(fs::directory_iterator(directory / "cache"), {}), 1)
        << "no temporary file is left beside it";

    std::vector<std::int16_t> loaded;
    sdl::RoundMark mark;
    const auto loads = [&](std::uint64_t key = 7, std::size_t longest = 1000) {
        loaded = {1, 2};
        return sdl::load_round(path, key, longest, mark, loaded);
    };
    ASSERT_TRUE(loads());
    EXPECT_EQ(mark, saved);
    EXPECT_EQ(loaded, round);
    EXPECT_FALSE(loads(8)) << "other music";
    EXPECT_FALSE(loads(7, 999)) << "longer than the room";

    std::ifstream in(path, std::ios::binary);
    const std::vector<char> whole{std::istreambuf_iterator<char>(in), {}};
    const auto damaged = [&](auto change) {
        std::vector<char> bytes = whole;
        change(bytes);
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return !loads(7, 1 << 20) && loaded == std::vector<std::int16_t>{1, 2};
    };
    EXPECT_TRUE(damaged([](auto& bytes) { bytes.pop_back(); })) << "short by a byte";
    EXPECT_TRUE(damaged([](auto& bytes) { bytes.push_back(0); })) << "a byte too long";
    EXPECT_TRUE(damaged([](auto& bytes) { bytes[1000] ^= 1; })) << "a sample changed";
    EXPECT_TRUE(damaged([](auto& bytes) { bytes[0] = 'X'; })) << "not a round";
    EXPECT_TRUE(damaged([](auto& bytes) { bytes[17] = 0x10; })) << "the round after its end";
    EXPECT_TRUE(damaged([](auto& bytes) { bytes[33] = 0x40; })) << "more frames than follow";
    EXPECT_TRUE(damaged([](auto& bytes) { bytes.resize(3); })) << "shorter than its header";

    fs::remove(path);
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    EXPECT_FALSE(loads()) << "a pipe, at once";

    fs::remove_all(directory / "cache");
    std::ofstream(directory / "cache") << "a file where the directory would be";
    EXPECT_FALSE(sdl::save_round(path, saved, round));
    EXPECT_FALSE(loads()) << "no file";
    fs::remove_all(directory);
}

} // namespace
