#include "audio/wave.h"
#include "formats/riff_builder.h"

#include <gtest/gtest.h>

namespace {

using riff::Bytes;

const Bytes format_bytes = riff::pcm_format(1, 22050, 16);
const Bytes sample_bytes = {1, 2, 3, 4, 5, 6};

struct Found {
    bool ok = false;
    std::span<const std::uint8_t> format;
    const std::uint8_t* samples = nullptr;
    std::uint32_t size = 0;
};

Found parse_all(const Bytes& image) {
    Found found;
    found.ok = parse_wave(image, &found.format, &found.samples, &found.size);
    return found;
}

void expect_found(const Found& found) {
    ASSERT_TRUE(found.ok);
    EXPECT_EQ(Bytes(found.format.begin(), found.format.end()), format_bytes);
    ASSERT_EQ(found.size, sample_bytes.size());
    EXPECT_EQ(Bytes(found.samples, found.samples + found.size), sample_bytes);
}

Bytes list_chunk(std::size_t size) {
    return riff::chunk("LIST", Bytes(size, 0xAA));
}

TEST(ParseWave, FindsFormatAndSamplesInEitherOrderPastOtherChunks) {
    const Bytes fmt = riff::chunk("fmt ", format_bytes);
    const Bytes data = riff::chunk("data", sample_bytes);
    expect_found(parse_all(riff::form("WAVE", {fmt, data})));
    expect_found(parse_all(riff::form("WAVE", {data, fmt})));
    expect_found(parse_all(riff::form("WAVE", {list_chunk(8), fmt, list_chunk(4), data})));
}

TEST(ParseWave, SkipsThePadByteAfterAnOddSizedChunk) {
    const Bytes odd = list_chunk(5);
    ASSERT_EQ(odd.size(), 8u + 5u + 1u);
    expect_found(parse_all(riff::form(
        "WAVE", {odd, riff::chunk("fmt ", format_bytes), riff::chunk("data", sample_bytes)})));
    // An odd-sized data chunk before the format: its pad byte is skipped too.
    const Bytes odd_samples = {7, 8, 9};
    Found found = parse_all(
        riff::form("WAVE", {riff::chunk("data", odd_samples), riff::chunk("fmt ", format_bytes)}));
    ASSERT_TRUE(found.ok);
    EXPECT_EQ(found.size, 3u);
    EXPECT_EQ(found.format.size(), format_bytes.size());
}

TEST(ParseWave, StopsAsSoonAsEverythingRequestedIsFound) {
    const Bytes only_format = riff::form("WAVE", {riff::chunk("fmt ", format_bytes)});
    std::span<const std::uint8_t> format;
    EXPECT_TRUE(parse_wave(only_format, &format, nullptr, nullptr));
    EXPECT_EQ(format.size(), format_bytes.size());
    std::uint32_t size = 0;
    EXPECT_FALSE(parse_wave(only_format, nullptr, nullptr, &size));

    const Bytes only_data = riff::form("WAVE", {riff::chunk("data", sample_bytes)});
    EXPECT_TRUE(parse_wave(only_data, nullptr, nullptr, &size));
    EXPECT_EQ(size, sample_bytes.size());
    EXPECT_FALSE(parse_wave(only_data, &format, nullptr, &size));
    // Nothing requested is nothing found.
    EXPECT_FALSE(parse_wave(only_data, nullptr, nullptr, nullptr));
}

TEST(ParseWave, TakesOnlyTheFirstFormatAndDataChunk) {
    const Bytes other_format = riff::pcm_format(2, 8000, 8);
    const Bytes image =
        riff::form("WAVE", {riff::chunk("fmt ", format_bytes), riff::chunk("fmt ", other_format),
                            riff::chunk("data", sample_bytes), riff::chunk("data", Bytes(2, 0))});
    expect_found(parse_all(image));
}

TEST(ParseWave, RefusesWhatIsNotAUsableWave) {
    const Bytes data = riff::chunk("data", sample_bytes);
    EXPECT_FALSE(parse_all(riff::form("AVI ", {riff::chunk("fmt ", format_bytes), data})).ok);
    Bytes not_riff = riff::wave_file(format_bytes, sample_bytes);
    not_riff[0] = 'X';
    EXPECT_FALSE(parse_all(not_riff).ok);
    EXPECT_FALSE(parse_all(riff::form("WAVE", {data})).ok);
    EXPECT_FALSE(parse_all(riff::form("WAVE", {riff::chunk("fmt ", format_bytes)})).ok);
    EXPECT_FALSE(parse_all(Bytes{'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V'}).ok);
}

TEST(ParseWave, NeedsAtLeastFourteenBytesOfFormat) {
    const Bytes data = riff::chunk("data", sample_bytes);
    const Bytes short_format(format_bytes.begin(), format_bytes.begin() + 13);
    const Found refused = parse_all(riff::form("WAVE", {riff::chunk("fmt ", short_format), data}));
    EXPECT_FALSE(refused.ok);
    EXPECT_TRUE(refused.format.empty());
    EXPECT_EQ(refused.samples, nullptr);
    EXPECT_EQ(refused.size, 0u);

    const Bytes fourteen(format_bytes.begin(), format_bytes.begin() + 14);
    const Found found = parse_all(riff::form("WAVE", {riff::chunk("fmt ", fourteen), data}));
    ASSERT_TRUE(found.ok);
    EXPECT_EQ(found.format.size(), 14u);
}

TEST(ParseWave, ClearsTheOutputsOfAnEarlierParse) {
    Found found = parse_all(riff::wave_file(format_bytes, sample_bytes));
    ASSERT_TRUE(found.ok);
    found.ok = parse_wave(riff::form("WAVE", {}), &found.format, &found.samples, &found.size);
    EXPECT_FALSE(found.ok);
    EXPECT_TRUE(found.format.empty());
    EXPECT_EQ(found.samples, nullptr);
    EXPECT_EQ(found.size, 0u);
}

// The form size and the chunk sizes are not trusted beyond the bytes that
// are really there.
TEST(ParseWaveHostileSizes, AFormSizeBeyondTheFileStillFindsCompleteChunks) {
    Bytes image = riff::wave_file(format_bytes, sample_bytes);
    image[4] = image[5] = image[6] = image[7] = 0xFF;
    expect_found(parse_all(image));
}

TEST(ParseWaveHostileSizes, AFileCutShortInsideAChunkHeaderIsRefused) {
    Bytes image = riff::form("WAVE", {riff::chunk("fmt ", format_bytes)});
    image.insert(image.end(), {'d', 'a', 't'});
    image[4] = image[5] = image[6] = image[7] = 0xFF;
    EXPECT_FALSE(parse_all(image).ok);
}

TEST(ParseWaveHostileSizes, AChunkReachingPastTheFileIsRefused) {
    Bytes image = riff::wave_file(format_bytes, sample_bytes);
    image.resize(image.size() - 2); // the data chunk lost its last two bytes
    image[4] = 0xFF;
    EXPECT_FALSE(parse_all(image).ok);
}

TEST(ParseWaveHostileSizes, ChunkSizesNearTheTopOfTheRangeDoNotWrapTheWalk) {
    for (const std::uint32_t size : {0xFFFFFFFFu, 0xFFFFFFF4u, 0xFFFFFFF8u}) {
        Bytes huge = riff::chunk("LIST", {});
        huge[4] = static_cast<std::uint8_t>(size);
        huge[5] = huge[6] = huge[7] = 0xFF;
        Bytes image = riff::form(
            "WAVE", {huge, riff::chunk("fmt ", format_bytes), riff::chunk("data", sample_bytes)});
        image[4] = image[5] = image[6] = image[7] = 0xFF;
        EXPECT_FALSE(parse_all(image).ok) << std::hex << size;
    }
}

TEST(ParseWaveHostileSizes, ChunksAfterTheFormsEndAreNotLookedAt) {
    Bytes image = riff::form("WAVE", {riff::chunk("fmt ", format_bytes)});
    riff::append(image, riff::chunk("data", sample_bytes));
    EXPECT_FALSE(parse_all(image).ok);
}

} // namespace
