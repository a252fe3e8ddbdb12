// Replays: random games recorded tick by tick play again to the same state at
// every tick, a changed input is caught, and the file format refuses what it
// cannot play.
#include "game_test_support.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "game/driver.h"
#include "game/game_loop.h"
#include "game/replay.h"
#include "support/golden_frame.h"

namespace {

constexpr int game_count = 10000;
constexpr int drop_bit = key_actions - 1; // record 0's drop key

struct RecordedGame {
    Replay replay;
    std::vector<std::uint64_t> checksums; // after each tick
    std::vector<InputFrame> inputs;
    std::vector<bool> first_record_active; // at each tick's start
};

// Keys held for a while: each tick one bit may change. F1 and F2 switch key
// sets; Esc ends the game after `length` ticks unless a top-out ended it.
InputFrame next_input(InputFrame input, std::mt19937& random, int tick, int length) {
    if (random() % 3 == 0) {
        const int bit = static_cast<int>(random() % input_frame_bits);
        input.keys = static_cast<std::uint16_t>(input.keys ^ 1u << bit);
    }
    input.set_game_key(GameKey::Escape, tick >= length);
    return input;
}

// One game on from the values the last one left, as the program plays them.
RecordedGame play_random_game(std::mt19937& random, int game, int longest = 320) {
    game_mode = game % 2 ? GameMode::Blob : GameMode::Blokit;
    player_count = game / 2 % 2 + 1;
    key_set_choice = {static_cast<std::int32_t>(random() % 3),
                      static_cast<std::int32_t>(random() % 3)};
    const std::uint32_t seed = random();
    RecordedGame recorded;
    ReplayRecorder recorder(replay_start_of(game_state, seed));
    start_game(seed);
    const int length = 20 + static_cast<int>(random() % unsigned(longest - 20));
    InputFrame input;
    for (int tick = 0; game_running(); ++tick) {
        input = next_input(input, random, tick, length);
        recorded.first_record_active.push_back(players[0].state >= state_playing);
        recorded.inputs.push_back(input);
        recorder.add(input);
        run_tick(input);
        recorded.checksums.push_back(state_checksum(game_state));
    }
    recorded.replay = recorder.finish(recorded.checksums.back());
    return recorded;
}

// Plays `replay` from its start; the checksums after each tick, and whether
// it ended as recorded. The program's own game values are kept.
std::pair<std::vector<std::uint64_t>, bool> play_replay(const Replay& replay) {
    const GameState program_values = game_state;
    start_replay_game(replay);
    ReplayPlayer player(replay);
    std::vector<std::uint64_t> checksums;
    InputFrame input;
    while (game_running() && player.next(input)) {
        run_tick(input);
        checksums.push_back(state_checksum(game_state));
    }
    const bool as_recorded = ended_as_recorded(replay, player);
    game_state = program_values;
    return {checksums, as_recorded};
}

struct ChangedReplay {
    Replay replay;
    std::size_t tick = 0; // the tick whose input changed
};

// The same game with record 0's drop key pressed for one tick where it was
// up before, then and after, while that record plays: a drop it never made.
std::optional<ChangedReplay> with_one_more_drop(const RecordedGame& game) {
    const auto& inputs = game.inputs;
    for (std::size_t t = 1; t + 1 < inputs.size(); ++t) {
        if (!game.first_record_active[t] || inputs[t].game_key_down(GameKey::Escape) ||
            inputs[t - 1].action_down(0, drop_bit) || inputs[t].action_down(0, drop_bit) ||
            inputs[t + 1].action_down(0, drop_bit))
            continue;
        ReplayRecorder recorder(game.replay.start);
        for (std::size_t i = 0; i < inputs.size(); ++i) {
            InputFrame input = inputs[i];
            if (i == t)
                input.set_action(0, drop_bit, true);
            recorder.add(input);
        }
        return ChangedReplay{recorder.finish(game.replay.final_checksum), t};
    }
    return std::nullopt;
}

TEST(Replays, RandomGamesReplayToTheSameChecksumAtEveryTick) {
    reset_game_values();
    std::mt19937 random(20261209);
    int changed = 0;
    int reported = 0;
    long ticks = 0;
    for (int game = 0; game < game_count; ++game) {
        const RecordedGame recorded = play_random_game(random, game);
        ticks += static_cast<long>(recorded.checksums.size());
        Replay read;
        ASSERT_EQ(decode_replay(encode_replay(recorded.replay), read), ReplayCheck::Playable);
        const auto [checksums, as_recorded] = play_replay(read);
        ASSERT_EQ(checksums, recorded.checksums) << "game " << game;
        ASSERT_TRUE(as_recorded) << "game " << game;
        if (game % 10 != 0)
            continue;
        const auto other = with_one_more_drop(recorded);
        if (!other)
            continue;
        const auto [other_checksums, other_as_recorded] = play_replay(other->replay);
        const auto first_difference =
            std::mismatch(other_checksums.begin(), other_checksums.end(), checksums.begin());
        EXPECT_EQ(first_difference.first - other_checksums.begin(), other->tick) << "game " << game;
        ++changed;
        reported += !other_as_recorded;
    }
    // A drop of a piece that the fall step locks in the same tick anyway
    // changes nothing, and a changed game may rarely find its way back.
    EXPECT_GT(changed, game_count / 20) << "most games had room for a changed input";
    EXPECT_GT(reported, changed * 95 / 100);
    std::printf("%d games, %ld ticks, %d changed replays, %d reported\n", game_count, ticks,
                changed, reported);
}

// A short recorded game, and its file.
std::vector<std::uint8_t> sample_file(Replay& replay) {
    reset_game_values();
    std::mt19937 random(7);
    replay = play_random_game(random, 3).replay;
    return encode_replay(replay);
}

TEST(Replays, FilesKeepEveryValueAndRefuseWhatTheyCannotPlay) {
    Replay replay;
    const std::vector<std::uint8_t> file = sample_file(replay);
    Replay read;
    ASSERT_EQ(decode_replay(file, read), ReplayCheck::Playable);
    EXPECT_EQ(encode_replay(read), file);
    EXPECT_EQ(read.start.player_count, 2);
    EXPECT_EQ(read.start.game_mode, GameMode::Blob);
    EXPECT_EQ(read.start.key_set_choice, replay.start.key_set_choice);
    EXPECT_EQ(read.start.key_latch[0], (std::array<std::uint8_t, 4>{1, 1, 1, 1}));
    EXPECT_EQ(read.start.seed, replay.start.seed);

    for (std::size_t length = 0; length < file.size(); ++length)
        EXPECT_NE(decode_replay(std::span(file).first(length), read), ReplayCheck::Playable)
            << length << " bytes";
    const auto changed = [&](std::size_t offset, std::uint8_t value) {
        std::vector<std::uint8_t> bytes = file;
        bytes[offset] = value;
        return decode_replay(bytes, read);
    };
    EXPECT_EQ(changed(0, 'X'), ReplayCheck::NotAReplay);
    EXPECT_EQ(changed(4, 2), ReplayCheck::OtherVersion);
    EXPECT_EQ(changed(8, file[8] ^ 1), ReplayCheck::OtherGameData);
    EXPECT_EQ(changed(6, 2), ReplayCheck::Damaged) << "mode";
    EXPECT_EQ(changed(7, 0), ReplayCheck::Damaged) << "player count";
    EXPECT_EQ(changed(7, 3), ReplayCheck::Damaged) << "player count";
    EXPECT_EQ(changed(20, 0x10), ReplayCheck::Damaged) << "latches";
    EXPECT_EQ(changed(22, 1), ReplayCheck::Damaged) << "losses above 0";
    EXPECT_EQ(changed(29, 0x80), ReplayCheck::Damaged) << "losses that would wrap";
    EXPECT_EQ(changed(34, 0), ReplayCheck::Damaged) << "changes beyond the last tick";
    EXPECT_EQ(changed(38, file[38] + 1), ReplayCheck::Damaged) << "entries length";
    EXPECT_EQ(changed(42, 0x0F), ReplayCheck::Damaged) << "a bit no input has";
    EXPECT_EQ(changed(42, 0xFF), ReplayCheck::Damaged) << "a number running into the next";
    std::vector<std::uint8_t> longer = file;
    longer.push_back(0);
    EXPECT_EQ(decode_replay(longer, read), ReplayCheck::Damaged);
}

// Replays made here are kept beside the golden frames: every build, the
// Windows one under Wine too, makes the same files from the same games and
// plays the kept files to the checksums they end with.
TEST(Replays, KeptReplaysAreMadeAndPlayedAlikeByEveryBuild) {
    reset_game_values();
    for (int game = 0; game < 4; ++game) {
        std::mt19937 random(static_cast<unsigned>(game + 1));
        const std::vector<std::uint8_t> made =
            encode_replay(play_random_game(random, game, 5000).replay);
        const std::filesystem::path kept =
            std::filesystem::path(BLOKIT_GOLDEN_DIR) / ("replay_" + std::to_string(game) + ".bkr");
        if (updating_golden())
            std::ofstream(kept, std::ios::binary)
                .write(reinterpret_cast<const char*>(made.data()), std::streamsize(made.size()));
        std::ifstream in(kept, std::ios::binary);
        const std::vector<std::uint8_t> file{std::istreambuf_iterator<char>(in),
                                             std::istreambuf_iterator<char>()};
        EXPECT_EQ(file, made) << kept;
        Replay replay;
        ASSERT_EQ(decode_replay(file, replay), ReplayCheck::Playable) << kept;
        EXPECT_TRUE(play_replay(replay).second) << kept;
    }
}

} // namespace
