#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "audio/mids_player.h"
#include "data_set.h"
#include "mids_writer.h"
#include "support/temporary_directory.h"

namespace fs = std::filesystem;

namespace {

std::vector<char> read_all(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(GeneratorTest, TwoRunsAndTheBuildWriteTheSameBytes) {
    const fs::path scratch = make_temporary_directory("blokit-data");
    const fs::path first = scratch / "first", second = scratch / "second";
    fs::create_directories(first);
    fs::create_directories(second);
    ASSERT_TRUE(write_run_directory(first.string()));
    ASSERT_TRUE(write_run_directory(second.string()));
    for (const char* name : {"DATA.ONE", "AUDIO.ONE", "QMBLOKIT.MDS"}) {
        SCOPED_TRACE(name);
        const std::vector<char> bytes = read_all(first / name);
        EXPECT_GT(bytes.size(), 1000u);
        EXPECT_EQ(bytes, read_all(second / name));
        EXPECT_EQ(bytes, read_all(fs::path(BLOKIT_RUN_DIR) / name));
    }
    fs::remove_all(scratch);
}

TEST(GeneratorTest, AFailedWriteIsReported) {
    EXPECT_FALSE(write_run_directory("/nonexistent/blokit/run"));
}

TEST(GeneratorTest, LongStreamsAreSplitIntoBuffersThatFitOnceLoaded) {
    std::vector<StreamEvent> events;
    for (std::uint32_t i = 0; i < 1000; ++i) {
        events.push_back({i * 10, short_message(0x90, 60 + i % 12, i % 2 ? 0 : 100)});
    }
    const std::vector<std::uint8_t> file = encode_mids(events, 96);
    MidsPlayer player;
    ASSERT_EQ(mids_parse(player, file), MidsResult::Ok);
    EXPECT_EQ(player.time_format, 96u);
    EXPECT_EQ(player.format_flags, mids_no_stream_id);
    ASSERT_EQ(player.buffers.size(), 3u); // 341 events fit a 4096-byte buffer
    std::uint32_t recorded = 0;
    for (const platform::MidiHeader& header : player.buffers) {
        EXPECT_LE(header.bytes_recorded, mids_buffer_bytes);
        recorded += header.bytes_recorded;
    }
    EXPECT_EQ(recorded, 1000u * 12u);
    // The delta of the first event of the second buffer continues the stream.
    const std::uint8_t* second = player.buffers[1].data;
    EXPECT_EQ(second[0], 10);
    EXPECT_EQ(second[12], 10);
}

} // namespace
