#include "audio/mids_player.h"

#include "gfx/error_box.h"
#include "platform/regular_file.h"

#include <cstdio>
#include <new>

namespace {

constexpr std::array<char, 4> valid_magic = {'M', 'D', 'S', 'I'};
constexpr std::array<char, 4> closed_magic = {'d', 'a', 't', 'a'};
// Every size in the file is 32-bit: a MIDS file never needs more.
constexpr std::uint64_t largest_file = 0xFFFFFFFFull + 8;

bool valid(const MidsPlayer* player) {
    return player != nullptr && player->magic == valid_magic;
}

// Ok for a valid player with an open stream.
MidsResult stream_state(const MidsPlayer* player) {
    if (!valid(player))
        return MidsResult::BadHandle;
    return player->stream != nullptr ? MidsResult::Ok : MidsResult::WrongState;
}

// The whole file, looked up under the given name only. A file too large to
// be held fails like a view that cannot be mapped.
MidsResult read_file(const char* name, std::unique_ptr<std::uint8_t[]>& image, std::size_t& size) {
    std::FILE* file = platform::open_regular_file(name, "rb");
    if (file == nullptr) {
        error_box(name, "Error loading file");
        return MidsResult::FileError;
    }
    long length = -1;
    if (std::fseek(file, 0, SEEK_END) == 0)
        length = std::ftell(file);
    bool read = length >= 0 && static_cast<std::uint64_t>(length) <= largest_file &&
                std::fseek(file, 0, SEEK_SET) == 0;
    if (read) {
        size = static_cast<std::size_t>(length);
        image.reset(new (std::nothrow) std::uint8_t[size]);
        read = image != nullptr && std::fread(image.get(), 1, size, file) == size;
    }
    std::fclose(file);
    return read ? MidsResult::Ok : MidsResult::FileError;
}

MidsResult parse_source(MidsPlayer& player, const void* source, std::uint32_t size,
                        std::uint32_t source_flags) {
    if (source_flags == mids_source_memory)
        return mids_parse(player, {static_cast<const std::uint8_t*>(source), size});
    std::unique_ptr<std::uint8_t[]> image;
    std::size_t image_size = 0;
    const MidsResult read = read_file(static_cast<const char*>(source), image, image_size);
    return read == MidsResult::Ok ? mids_parse(player, {image.get(), image_size}) : read;
}

// Opens the stream, sets its time division and queues every buffer; the
// stream stays paused until it is restarted.
bool open_stream(MidsPlayer& player) {
    using platform::MidiResult;
    if (platform::midi_stream_open(player.stream, mids_callback) != MidiResult::Ok) {
        player.stream = nullptr;
        return false;
    }
    if (platform::midi_stream_set_time_division(*player.stream, player.time_format) !=
        MidiResult::Ok)
        return false;
    for (platform::MidiHeader& header : player.buffers) {
        if (platform::midi_prepare_header(*player.stream, header) != MidiResult::Ok ||
            platform::midi_stream_out(*player.stream, header) != MidiResult::Ok)
            return false;
        player.queued_count.fetch_add(1);
    }
    return true;
}

} // namespace

MidsResult mids_open(MidsPlayer*& player, const void* source, std::uint32_t size,
                     std::uint32_t source_flags) {
    if (source_flags != mids_source_file && source_flags != mids_source_memory)
        return MidsResult::BadArgument;
    MidsPlayer* opened = new (std::nothrow) MidsPlayer;
    if (opened == nullptr)
        return MidsResult::NoMemory;
    opened->magic = valid_magic;
    const MidsResult result = parse_source(*opened, source, size, source_flags);
    if (result != MidsResult::Ok) {
        delete opened;
        return result;
    }
    player = opened;
    return MidsResult::Ok;
}

MidsResult mids_play(MidsPlayer* player, std::uint32_t flags) {
    if (!valid(player))
        return MidsResult::BadHandle;
    if (player->stream != nullptr && !(player->play_flags.load() & mids_paused))
        return MidsResult::WrongState;
    const bool opened_here = player->stream == nullptr;
    if (opened_here && !open_stream(*player)) {
        if (player->stream != nullptr)
            mids_stop(player);
        return MidsResult::DeviceError;
    }
    if (flags & mids_play_loop)
        player->play_flags.fetch_or(mids_looping);
    else
        player->play_flags.fetch_and(~mids_looping);
    player->play_flags.fetch_and(~mids_paused);
    if (platform::midi_stream_restart(*player->stream) != platform::MidiResult::Ok) {
        if (opened_here)
            mids_stop(player);
        return MidsResult::DeviceError;
    }
    return MidsResult::Ok;
}

MidsResult mids_pause(MidsPlayer* player) {
    if (const MidsResult open = stream_state(player); open != MidsResult::Ok)
        return open;
    if (player->play_flags.load() & mids_paused)
        return MidsResult::Ok;
    if (platform::midi_stream_pause(*player->stream) != platform::MidiResult::Ok)
        return MidsResult::DeviceError;
    player->play_flags.fetch_or(mids_paused);
    return MidsResult::Ok;
}

// The stopping bit must be visible to the done callback before the reset
// hands the buffers back, or a buffer coming back in the meantime would be
// queued again on a stream about to close. The bit is set with an atomic
// read-modify-write before the reset is called; the stream delivers its done
// callbacks under the same lock its reset takes, so a callback already
// running when the bit is set finishes before the reset collects the queue
// (a buffer it queued again is collected too), and every callback after that
// reads the bit through an atomic load and queues nothing.
MidsResult mids_stop(MidsPlayer* player) {
    if (const MidsResult open = stream_state(player); open != MidsResult::Ok)
        return open;
    player->play_flags.fetch_or(mids_stopping);
    if (platform::midi_stream_reset(*player->stream) != platform::MidiResult::Ok) {
        player->play_flags.fetch_and(~mids_stopping);
        return MidsResult::DeviceError;
    }
    for (platform::MidiHeader& header : player->buffers)
        platform::midi_unprepare_header(*player->stream, header);
    platform::midi_stream_close(player->stream);
    player->stream = nullptr;
    player->play_flags.store(0);
    return MidsResult::Ok;
}

MidsResult mids_close(MidsPlayer* player) {
    if (!valid(player))
        return MidsResult::BadHandle;
    if (player->stream != nullptr)
        mids_stop(player);
    player->magic = closed_magic;
    delete player;
    return MidsResult::Ok;
}

// Runs on the stream's thread for every buffer that has played: with looping
// on and no stop under way the buffer goes to the end of the queue again, so
// the buffers play in file order and the first follows the last.
void mids_callback(platform::MidiHeader& header) {
    auto& player = *static_cast<MidsPlayer*>(header.user);
    const std::uint32_t flags = player.play_flags.load();
    const bool requeue = (flags & mids_looping) && !(flags & mids_stopping);
    if (requeue && platform::midi_stream_out(*player.stream, header) == platform::MidiResult::Ok)
        return;
    player.queued_count.fetch_sub(1);
}
