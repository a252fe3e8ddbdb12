#include "audio/mids_player.h"

#include "res/byte_order.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::size_t event_record_bytes = 12; // delta time, stream identifier, event
// A MIDI stream takes no buffer larger than this; a file asking for more
// could never play, and its buffers would be a huge allocation.
constexpr std::uint32_t largest_stream_buffer = 65536;

// A bounded walk through the image.
class Reader {
  public:
    explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::size_t remaining() const { return bytes_.size() - position_; }
    const std::uint8_t* here() const { return bytes_.data() + position_; }
    bool tag_is(const char (&tag)[5]) const { return std::memcmp(here(), tag, 4) == 0; }
    std::uint32_t u32() {
        const std::uint32_t value = read_u32le(here());
        position_ += 4;
        return value;
    }
    void skip(std::size_t count) { position_ += count; }

  private:
    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
};

// Reads the header of the chunk that must come next: `tag`, with at least
// `smallest` and at most the remaining bytes of data.
bool read_chunk(Reader& reader, const char (&tag)[5], std::uint32_t smallest, std::uint32_t& size) {
    if (reader.remaining() < 8 || !reader.tag_is(tag))
        return false;
    reader.skip(4);
    size = reader.u32();
    return size <= reader.remaining() && size >= smallest;
}

// Inserts a stream identifier of 0 into every event of `in`, which stores
// delta time, event and parameters; false when the events are malformed or do
// not fit in `out`.
bool expand_events(std::span<const std::uint8_t> in, std::span<std::uint8_t> out,
                   std::uint32_t& written) {
    if (in.size() % 4 != 0)
        return false;
    std::size_t read = 0;
    std::size_t write = 0;
    while (read < in.size()) {
        if (out.size() - write < event_record_bytes)
            return false;
        std::memcpy(&out[write], &in[read], 4);
        read += 4;
        if (read == in.size())
            return false;
        std::memset(&out[write + 4], 0, 4);
        const std::uint32_t event = read_u32le(&in[read]);
        std::memcpy(&out[write + 8], &in[read], 4);
        read += 4;
        write += event_record_bytes;
        if (event & platform::midi_event_long) {
            const std::size_t parameters = ((event & 0xFFFFFF) + 3) & ~std::size_t{3};
            if (parameters > in.size() - read || parameters > out.size() - write)
                return false;
            std::memcpy(&out[write], &in[read], parameters);
            read += parameters;
            write += parameters;
        }
    }
    written = static_cast<std::uint32_t>(write);
    return true;
}

bool allocate_buffers(MidsPlayer& player, std::uint32_t count) {
    const std::size_t bytes =
        std::max<std::size_t>(std::size_t{count} * player.max_buffer_bytes, 1);
    player.buffer_bytes.reset(static_cast<std::uint8_t*>(std::calloc(bytes, 1)));
    if (!player.buffer_bytes)
        return false;
    player.buffers.assign(count, platform::MidiHeader{});
    player.buffer_count = count;
    return true;
}

bool read_block(MidsPlayer& player, Reader& blocks, platform::MidiHeader& header,
                std::uint8_t* data) {
    if (blocks.remaining() < 8)
        return false;
    blocks.u32(); // start tick, not needed to play
    const std::uint32_t count = blocks.u32();
    if (count > player.max_buffer_bytes || count > blocks.remaining())
        return false;
    const std::span<const std::uint8_t> events(blocks.here(), count);
    header = {data, player.max_buffer_bytes, count, &player, 0};
    blocks.skip(count);
    if (!(player.format_flags & mids_no_stream_id)) {
        std::copy(events.begin(), events.end(), data);
        return true;
    }
    return expand_events(events, {data, player.max_buffer_bytes}, header.bytes_recorded);
}

MidsResult parse_blocks(MidsPlayer& player, Reader blocks) {
    const std::uint32_t count = blocks.u32();
    // Every block takes at least 8 bytes; a count the data cannot hold is
    // refused before anything is allocated for it.
    if (player.max_buffer_bytes > largest_stream_buffer || count > blocks.remaining() / 8)
        return MidsResult::BadFormat;
    if (!allocate_buffers(player, count))
        return MidsResult::NoMemory;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint8_t* data = player.buffer_bytes.get() + std::size_t{i} * player.max_buffer_bytes;
        if (!read_block(player, blocks, player.buffers[i], data))
            return MidsResult::BadFormat;
    }
    return MidsResult::Ok;
}

MidsResult parse_image(MidsPlayer& player, std::span<const std::uint8_t> image) {
    Reader reader(image);
    if (image.size() < 12 || !reader.tag_is("RIFF"))
        return MidsResult::BadFormat;
    reader.skip(4);
    const std::uint32_t form_size = reader.u32();
    if (!reader.tag_is("MIDS") || form_size > image.size() - 8)
        return MidsResult::BadFormat;
    reader.skip(4);
    std::uint32_t format_size = 0;
    if (!read_chunk(reader, "fmt ", 12, format_size))
        return MidsResult::BadFormat;
    player.time_format = reader.u32();
    player.max_buffer_bytes = reader.u32();
    player.format_flags = reader.u32();
    reader.skip(format_size - 12);
    std::uint32_t data_size = 0;
    if (!read_chunk(reader, "data", 4, data_size))
        return MidsResult::BadFormat;
    return parse_blocks(player, Reader({reader.here(), data_size}));
}

} // namespace

MidsResult mids_parse(MidsPlayer& player, std::span<const std::uint8_t> image) {
    const MidsResult result = parse_image(player, image);
    if (result != MidsResult::Ok) {
        player.buffers.clear();
        player.buffer_bytes.reset();
        player.buffer_count = 0;
    }
    return result;
}
