// Seed inputs of the WAV and MIDS fuzzing programs, made by the tests' own
// builders and checked to be files the parsers take; with BLOKIT_SEED_CORPUS
// set to a directory they are also written there.

#include "audio/mids_player.h"
#include "audio/wave.h"
#include "formats/riff_builder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

using riff::Bytes;

std::vector<Bytes> wave_seeds() {
    using namespace riff;
    return {
        wave_file(pcm_format(1, 8000, 16), tone_samples(8000, 20, 440, 0.5)),
        form("WAVE", {chunk("LIST", Bytes(5, 'x')), chunk("fmt ", pcm_format(2, 11025, 8)),
                      chunk("data", Bytes(33, 0x80))}),
        form("WAVE", {chunk("data", Bytes(8, 1)), chunk("fmt ", pcm_format(1, 22050, 16))}),
    };
}

std::vector<Bytes> mids_seeds() {
    using namespace riff;
    const Bytes long_event = stream_events(
        {{0, platform::midi_event_long | 5, {0xF0, 1, 2, 3, 0xF7}}, {10, note_on(0, 60, 90), {}}},
        false);
    return {melody(true), melody(false), mids_file(96, 64, mids_no_stream_id, {long_event})};
}

void write_seeds(const std::filesystem::path& directory, const std::vector<Bytes>& seeds) {
    std::filesystem::create_directories(directory);
    for (std::size_t i = 0; i < seeds.size(); ++i)
        std::ofstream(directory / ("seed_" + std::to_string(i)), std::ios::binary)
            .write(reinterpret_cast<const char*>(seeds[i].data()),
                   static_cast<std::streamsize>(seeds[i].size()));
}

TEST(SeedCorpus, SoundSeedsParse) {
    for (const Bytes& seed : wave_seeds()) {
        std::span<const std::uint8_t> format;
        std::uint32_t size = 0;
        EXPECT_TRUE(parse_wave(seed, &format, nullptr, &size));
    }
    for (const Bytes& seed : mids_seeds()) {
        MidsPlayer player;
        EXPECT_EQ(mids_parse(player, seed), MidsResult::Ok);
    }
}

TEST(SeedCorpus, SoundSeedsWrittenWhenAsked) {
    const char* directory = std::getenv("BLOKIT_SEED_CORPUS");
    if (directory == nullptr)
        GTEST_SKIP() << "set BLOKIT_SEED_CORPUS to a directory to write the seeds";
    write_seeds(std::filesystem::path(directory) / "fuzz_wave", wave_seeds());
    write_seeds(std::filesystem::path(directory) / "fuzz_mids", mids_seeds());
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(directory) / "fuzz_mids" / "seed_2"));
}

} // namespace
