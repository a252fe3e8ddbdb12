#include "game/replay.h"

#include <algorithm>
#include <cstring>

#include "game/checksum.h"
#include "game/driver.h"
#include "game/game_loop.h"
#include "game/shapes.h"
#include "res/byte_order.h"

namespace {

constexpr char magic[4] = {'B', 'K', 'R', 'P'};
constexpr std::size_t header_bytes = 42;
constexpr std::size_t checksum_bytes = 8;
// Where the fields of the header lie.
constexpr std::size_t version_field = 4;
constexpr std::size_t mode_field = 6;
constexpr std::size_t player_count_field = 7;
constexpr std::size_t rules_field = 8;
constexpr std::size_t choice_field = 12;
constexpr std::size_t latch_field = 20;
constexpr std::size_t losses_field = 22;
constexpr std::size_t seed_field = 30;
constexpr std::size_t tick_count_field = 34;
constexpr std::size_t entries_length_field = 38;
// A bit number takes the low 4 bits of an entry, the ticks since the last
// change the bits above.
constexpr int bit_field_width = 4;
// `losses` only ever goes down, once per game; far below this it would wrap.
constexpr std::int32_t fewest_losses = -1000000000;

void put_u32(std::uint8_t* p, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

void put_varint(std::vector<std::uint8_t>& bytes, std::uint64_t value) {
    while (value >= 0x80) {
        bytes.push_back(static_cast<std::uint8_t>(value | 0x80));
        value >>= 7;
    }
    bytes.push_back(static_cast<std::uint8_t>(value));
}

// One change of a bit: how many ticks after the last change, and which bit.
struct Change {
    std::uint64_t gap = 0;
    int bit = 0;
};

// False when the entries end within a number or a number is too long.
bool read_change(std::span<const std::uint8_t> entries, std::size_t& offset, Change& change) {
    std::uint64_t value = 0;
    for (int shift = 0; shift < 64 && offset < entries.size(); shift += 7) {
        const std::uint8_t byte = entries[offset++];
        value |= std::uint64_t(byte & 0x7F) << shift;
        if ((byte & 0x80) == 0) {
            change.gap = value >> bit_field_width;
            change.bit = static_cast<int>(value & ((1u << bit_field_width) - 1));
            return true;
        }
    }
    return false;
}

std::uint8_t latch_bits(const std::array<std::uint8_t, key_actions>& latches) {
    std::uint8_t bits = 0;
    for (int action = 0; action < key_actions; ++action)
        bits = static_cast<std::uint8_t>(bits | (latches[action] ? 1 : 0) << action);
    return bits;
}

std::array<std::uint8_t, key_actions> latches_from(std::uint8_t bits) {
    std::array<std::uint8_t, key_actions> latches{};
    for (int action = 0; action < key_actions; ++action)
        latches[action] = bits >> action & 1;
    return latches;
}

// Every change lands on a tick of the replay, changes within one tick name
// their bits in rising order, and only the bits of an InputFrame change.
bool changes_fit(std::span<const std::uint8_t> entries, std::uint32_t tick_count) {
    std::size_t offset = 0;
    std::uint64_t tick = 0;
    int last_bit = -1;
    while (offset < entries.size()) {
        Change change;
        if (!read_change(entries, offset, change) || change.gap >= tick_count)
            return false;
        if (change.gap > 0)
            last_bit = -1;
        tick += change.gap;
        if (tick >= tick_count || change.bit >= input_frame_bits || change.bit <= last_bit)
            return false;
        last_bit = change.bit;
    }
    return true;
}

bool start_fits(const ReplayStart& start) {
    return start.player_count >= 1 && start.player_count <= 2 &&
           std::all_of(start.losses.begin(), start.losses.end(),
                       [](std::int32_t losses) { return losses <= 0 && losses >= fewest_losses; });
}

ReplayStart read_start(const std::uint8_t* p) {
    ReplayStart start;
    start.game_mode = static_cast<GameMode>(p[mode_field]);
    start.player_count = p[player_count_field];
    for (int i = 0; i < 2; ++i) {
        start.key_set_choice[i] = read_i32le(p + choice_field + 4 * i);
        start.key_latch[i] = latches_from(p[latch_field + i]);
        start.losses[i] = read_i32le(p + losses_field + 4 * i);
    }
    start.seed = read_u32le(p + seed_field);
    return start;
}

} // namespace

// What the rules are made of: a replay of other rules plays another game.
std::uint32_t rules_fingerprint() {
    Checksum sum;
    for (int kind = 1; kind <= piece_kinds; ++kind) {
        const std::array<std::uint8_t, 16> cells = shape_cells(kind);
        sum.add(cells.data(), cells.size());
    }
    for (int value : {board_columns, board_rows, key_actions, first_fall_ticks, highest_level,
                      state_playing, state_topped_out})
        sum.add(value);
    return static_cast<std::uint32_t>(sum.value());
}

ReplayStart replay_start_of(const GameState& state, std::uint32_t seed) {
    ReplayStart start;
    start.game_mode = state.game_mode;
    start.player_count = state.player_count;
    start.key_set_choice = state.key_set_choice;
    start.key_latch = state.key_latch;
    start.losses = {state.players[0].losses, state.players[1].losses};
    start.seed = seed;
    return start;
}

void start_replay_game(const Replay& replay) {
    const ReplayStart& start = replay.start;
    game_state = GameState{};
    game_state.game_mode = start.game_mode;
    game_state.player_count = start.player_count;
    game_state.key_set_choice = start.key_set_choice;
    game_state.key_latch = start.key_latch;
    for (int i = 0; i < 2; ++i)
        game_state.players[i].losses = start.losses[i];
    start_game(start.seed);
}

void ReplayRecorder::add(const InputFrame& input) {
    const unsigned changed = input.keys ^ previous_.keys;
    for (int bit = 0; bit < input_frame_bits; ++bit) {
        if ((changed >> bit & 1) == 0)
            continue;
        const std::uint64_t gap = replay_.tick_count - last_change_;
        put_varint(replay_.entries, gap << bit_field_width | unsigned(bit));
        last_change_ = replay_.tick_count;
    }
    previous_ = input;
    ++replay_.tick_count;
}

const Replay& ReplayRecorder::finish(std::uint64_t final_checksum) {
    replay_.final_checksum = final_checksum;
    return replay_;
}

bool ReplayPlayer::next(InputFrame& input) {
    if (tick_ >= replay_.tick_count)
        return false;
    // The changes were checked when the replay was read. The first one that
    // lies beyond this tick is read again at the next.
    Change change;
    std::size_t offset = offset_;
    while (read_change(replay_.entries, offset, change) && last_change_ + change.gap == tick_) {
        last_change_ = tick_;
        frame_.keys = static_cast<std::uint16_t>(frame_.keys ^ 1u << change.bit);
        offset_ = offset;
    }
    input = frame_;
    ++tick_;
    return true;
}

bool ended_as_recorded(const Replay& replay, ReplayPlayer& player) {
    InputFrame unused;
    return !game_running() && !player.next(unused) &&
           state_checksum(game_state) == replay.final_checksum;
}

std::vector<std::uint8_t> encode_replay(const Replay& replay) {
    std::vector<std::uint8_t> bytes(header_bytes);
    std::uint8_t* p = bytes.data();
    std::memcpy(p, magic, sizeof magic);
    p[version_field] = replay_version & 0xFF;
    p[version_field + 1] = replay_version >> 8;
    const ReplayStart& start = replay.start;
    p[mode_field] = static_cast<std::uint8_t>(start.game_mode);
    p[player_count_field] = static_cast<std::uint8_t>(start.player_count);
    put_u32(p + rules_field, rules_fingerprint());
    for (int i = 0; i < 2; ++i) {
        put_u32(p + choice_field + 4 * i, static_cast<std::uint32_t>(start.key_set_choice[i]));
        p[latch_field + i] = latch_bits(start.key_latch[i]);
        put_u32(p + losses_field + 4 * i, static_cast<std::uint32_t>(start.losses[i]));
    }
    put_u32(p + seed_field, start.seed);
    put_u32(p + tick_count_field, replay.tick_count);
    put_u32(p + entries_length_field, static_cast<std::uint32_t>(replay.entries.size()));
    bytes.insert(bytes.end(), replay.entries.begin(), replay.entries.end());
    for (int i = 0; i < 8; ++i)
        bytes.push_back(static_cast<std::uint8_t>(replay.final_checksum >> (8 * i)));
    return bytes;
}

ReplayCheck decode_replay(std::span<const std::uint8_t> bytes, Replay& replay) {
    if (bytes.size() < version_field + 2 || std::memcmp(bytes.data(), magic, sizeof magic) != 0)
        return ReplayCheck::NotAReplay;
    const std::uint8_t* p = bytes.data();
    if (read_u16le(p + version_field) != replay_version)
        return ReplayCheck::OtherVersion;
    if (bytes.size() < header_bytes + checksum_bytes)
        return ReplayCheck::Damaged;
    if (read_u32le(p + rules_field) != rules_fingerprint())
        return ReplayCheck::OtherGameData;
    const std::uint32_t tick_count = read_u32le(p + tick_count_field);
    const std::uint64_t entries_length = read_u32le(p + entries_length_field);
    const ReplayStart start = read_start(p);
    if (p[mode_field] > 1 || (p[latch_field] | p[latch_field + 1]) >> key_actions != 0 ||
        !start_fits(start) || entries_length != bytes.size() - header_bytes - checksum_bytes)
        return ReplayCheck::Damaged;
    const std::span<const std::uint8_t> entries = bytes.subspan(header_bytes, entries_length);
    if (!changes_fit(entries, tick_count))
        return ReplayCheck::Damaged;
    replay.start = start;
    replay.tick_count = tick_count;
    replay.entries.assign(entries.begin(), entries.end());
    const std::uint8_t* end = p + header_bytes + entries_length;
    replay.final_checksum = std::uint64_t(read_u32le(end)) | std::uint64_t(read_u32le(end + 4))
                                                                 << 32;
    return ReplayCheck::Playable;
}
