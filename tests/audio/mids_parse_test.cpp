#include "audio/mids_player.h"
#include "formats/riff_builder.h"

#include <gtest/gtest.h>

namespace {

using riff::Bytes;
using riff::Event;

const std::vector<Event> two_notes = {
    {0, riff::note_on(0, 60, 100), {}},
    {48, riff::note_off(0, 60), {}},
};

MidsResult parse(const Bytes& image, MidsPlayer& player) {
    return mids_parse(player, image);
}

MidsResult parse(const Bytes& image) {
    MidsPlayer player;
    return parse(image, player);
}

Bytes recorded(const platform::MidiHeader& header) {
    return Bytes(header.data, header.data + header.bytes_recorded);
}

void set_u32(Bytes& image, std::size_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        image[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// Offsets in a file made by riff::mids_file: the fmt chunk holds 12 bytes.
constexpr std::size_t format_size_offset = 16;
constexpr std::size_t max_buffer_offset = 24;
constexpr std::size_t data_size_offset = 36;
constexpr std::size_t buffer_count_offset = 40;
constexpr std::size_t first_block_offset = 44;

TEST(MidsParse, CopiesBlocksIntoBuffersOfTheGivenCapacity) {
    const Bytes first = riff::stream_events(two_notes);
    const Bytes second = riff::stream_events({{10, riff::program_change(0, 5), {}}});
    MidsPlayer player;
    ASSERT_EQ(parse(riff::mids_file(0x60, 64, 0, {first, second}), player), MidsResult::Ok);
    EXPECT_EQ(player.time_format, 0x60u);
    EXPECT_EQ(player.max_buffer_bytes, 64u);
    ASSERT_EQ(player.buffer_count, 2u);
    ASSERT_EQ(player.buffers.size(), 2u);
    for (const platform::MidiHeader& header : player.buffers) {
        EXPECT_EQ(header.buffer_length, 64u);
        EXPECT_EQ(header.user, &player);
        EXPECT_EQ(header.flags, 0u);
    }
    EXPECT_EQ(player.buffers[1].data - player.buffers[0].data, 64);
    EXPECT_EQ(recorded(player.buffers[0]), first);
    EXPECT_EQ(recorded(player.buffers[1]), second);
}

TEST(MidsParse, InsertsStreamIdentifiersIntoCompactEvents) {
    Event long_event{4, platform::midi_event_long | 5, {0xF0, 1, 2, 3, 0xF7}};
    const std::vector<Event> events = {two_notes[0], long_event, two_notes[1]};
    MidsPlayer player;
    const Bytes compact = riff::stream_events(events, false);
    ASSERT_EQ(compact.size(), 8u + (8u + 8u) + 8u);
    ASSERT_EQ(parse(riff::mids_file(96, 64, mids_no_stream_id, {compact}), player), MidsResult::Ok);
    // The long event's five parameter bytes take eight after expansion.
    EXPECT_EQ(player.buffers[0].bytes_recorded, 12u + (12u + 8u) + 12u);
    EXPECT_EQ(recorded(player.buffers[0]), riff::stream_events(events));
}

TEST(MidsParse, CompactEventsMustBeWholeAndFitTheBuffer) {
    const Bytes compact = riff::stream_events(two_notes, false); // 16 bytes, 24 expanded
    EXPECT_EQ(parse(riff::mids_file(96, 24, mids_no_stream_id, {compact})), MidsResult::Ok);
    EXPECT_EQ(parse(riff::mids_file(96, 23, mids_no_stream_id, {compact})), MidsResult::BadFormat);
    // A length that is not a multiple of 4.
    Bytes ragged = compact;
    ragged.push_back(0);
    EXPECT_EQ(parse(riff::mids_file(96, 64, mids_no_stream_id, {ragged})), MidsResult::BadFormat);
    // Input that ends after a delta time.
    const Bytes cut(compact.begin(), compact.end() - 4);
    EXPECT_EQ(parse(riff::mids_file(96, 64, mids_no_stream_id, {cut})), MidsResult::BadFormat);
    // A long event whose parameters run past the block.
    const Bytes long_event = riff::stream_events({{0, platform::midi_event_long | 9, {}}}, false);
    EXPECT_EQ(parse(riff::mids_file(96, 64, mids_no_stream_id, {long_event})),
              MidsResult::BadFormat);
    // The same block with stream identifiers is copied as it stands.
    EXPECT_EQ(parse(riff::mids_file(96, 64, 0, {ragged})), MidsResult::Ok);
}

TEST(MidsParse, ABlockLargerThanTheBufferCapacityIsRefused) {
    const Bytes block = riff::stream_events(two_notes); // 24 bytes
    EXPECT_EQ(parse(riff::mids_file(96, 24, 0, {block})), MidsResult::Ok);
    EXPECT_EQ(parse(riff::mids_file(96, 23, 0, {block})), MidsResult::BadFormat);
}

TEST(MidsParse, TheFormatChunkIsAtLeastTwelveBytesAndNotRounded) {
    Bytes image = riff::mids_file(96, 64, 0, {riff::stream_events(two_notes)});
    set_u32(image, format_size_offset, 11);
    EXPECT_EQ(parse(image), MidsResult::BadFormat);
    // Thirteen bytes of format: "data" follows at the odd offset 33.
    image.insert(image.begin() + 32, 0x77);
    set_u32(image, format_size_offset, 13);
    set_u32(image, 4, static_cast<std::uint32_t>(image.size() - 8));
    EXPECT_EQ(parse(image), MidsResult::Ok);
}

TEST(MidsParse, NoChunkMayComeBetweenFormatAndData) {
    Bytes image = riff::mids_file(96, 64, 0, {riff::stream_events(two_notes)});
    const Bytes list = riff::chunk("LIST", Bytes(4, 0));
    image.insert(image.begin() + 32, list.begin(), list.end());
    set_u32(image, 4, static_cast<std::uint32_t>(image.size() - 8));
    EXPECT_EQ(parse(image), MidsResult::BadFormat);
}

TEST(MidsParse, HeaderFieldsAreCheckedAgainstTheFile) {
    const Bytes good = riff::mids_file(96, 64, 0, {riff::stream_events(two_notes)});
    ASSERT_EQ(parse(good), MidsResult::Ok);
    Bytes form_too_big = good;
    set_u32(form_too_big, 4, static_cast<std::uint32_t>(good.size() - 7));
    EXPECT_EQ(parse(form_too_big), MidsResult::BadFormat);
    Bytes not_mids = good;
    not_mids[8] = 'W';
    EXPECT_EQ(parse(not_mids), MidsResult::BadFormat);
    Bytes small_data = good;
    set_u32(small_data, data_size_offset, 3);
    EXPECT_EQ(parse(small_data), MidsResult::BadFormat);
    Bytes data_past_end = good;
    set_u32(data_past_end, data_size_offset, static_cast<std::uint32_t>(good.size()));
    EXPECT_EQ(parse(data_past_end), MidsResult::BadFormat);
    EXPECT_EQ(parse(Bytes(good.begin(), good.begin() + 11)), MidsResult::BadFormat);
    EXPECT_EQ(parse(Bytes(good.begin(), good.end() - 1)), MidsResult::BadFormat);
}

TEST(MidsParse, BlocksMayNotReachPastTheDataChunk) {
    Bytes image = riff::mids_file(96, 64, 0, {riff::stream_events(two_notes)});
    set_u32(image, buffer_count_offset, 2);
    EXPECT_EQ(parse(image), MidsResult::BadFormat);
    set_u32(image, buffer_count_offset, 1);
    set_u32(image, first_block_offset + 4, 25); // one byte more than the block has
    EXPECT_EQ(parse(image), MidsResult::BadFormat);
}

TEST(MidsParse, ImpossibleCountsAndCapacitiesAreRefusedBeforeAllocating) {
    Bytes image = riff::mids_file(96, 64, 0, {riff::stream_events(two_notes)});
    set_u32(image, buffer_count_offset, 0xFFFFFFFF);
    MidsPlayer player;
    EXPECT_EQ(parse(image, player), MidsResult::BadFormat);
    EXPECT_TRUE(player.buffers.empty());
    EXPECT_EQ(player.buffer_bytes, nullptr);
    set_u32(image, buffer_count_offset, 1);
    set_u32(image, max_buffer_offset, 0xFFFFFFFF);
    EXPECT_EQ(parse(image), MidsResult::BadFormat);
    set_u32(image, max_buffer_offset, 65536);
    EXPECT_EQ(parse(image), MidsResult::Ok);
}

TEST(MidsOpen, TakesFilesAndMemoryOnly) {
    const Bytes image = riff::melody();
    MidsPlayer* player = nullptr;
    EXPECT_EQ(mids_open(player, image.data(), 0, 0), MidsResult::BadArgument);
    EXPECT_EQ(mids_open(player, image.data(), static_cast<std::uint32_t>(image.size()), 3),
              MidsResult::BadArgument);
    EXPECT_EQ(player, nullptr);
    EXPECT_EQ(mids_open(player, image.data(), 20, mids_source_memory), MidsResult::BadFormat);
    EXPECT_EQ(player, nullptr);
    ASSERT_EQ(mids_open(player, image.data(), static_cast<std::uint32_t>(image.size()),
                        mids_source_memory),
              MidsResult::Ok);
    ASSERT_NE(player, nullptr);
    EXPECT_EQ(player->buffer_count, 2u);
    EXPECT_EQ(mids_close(player), MidsResult::Ok);
}

} // namespace
