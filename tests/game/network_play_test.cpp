// Network play: the messages as bytes, the rollback of one side, and whole
// games between two sides through a simulated network that end alike on
// both.
#include <gtest/gtest.h>

#include "game/driver.h"
#include "game/game_state.h"
#include "game/net_peer.h"
#include "game/net_protocol.h"
#include "game/rollback.h"
#include "game_test_support.h"
#include "support/network_match.h"

namespace {

std::vector<NetMessage> one_of_each() {
    Inputs inputs{0xA1B2C3D4, 7, 3, 1, -5, 1000, 990, {}};
    inputs.inputs = {0, 1, 0x3F, 0x10, 0x20};
    return {Hello{0x1122334455667788, 42},
            Welcome{0x1122334455667788, 42, GameMode::Blob, 0xDEADBEEF},
            Refuse{42, RefuseReason::OtherGameData},
            inputs,
            StateChecksum{42, 7, 380, 0x0123456789ABCDEF},
            Leave{42}};
}

// Every message reads back as itself; cut short, lengthened or with a value
// out of range it is malformed, and another version is told apart.
TEST(NetProtocol, MessagesReadBackAndDamagedOnesAreRefused) {
    for (const NetMessage& sent : one_of_each()) {
        const std::vector<std::uint8_t> bytes = encode_message(sent);
        NetMessage read;
        ASSERT_EQ(decode_message(bytes, read), DecodeResult::Ok);
        EXPECT_EQ(encode_message(read), bytes);
        for (std::size_t size = 0; size < bytes.size(); ++size)
            EXPECT_EQ(decode_message(std::span(bytes).first(size), read), DecodeResult::Malformed);
        std::vector<std::uint8_t> longer = bytes;
        longer.push_back(0);
        EXPECT_EQ(decode_message(longer, read), DecodeResult::Malformed);
        std::vector<std::uint8_t> other_version = bytes;
        other_version[4] = protocol_version + 1;
        EXPECT_EQ(decode_message(other_version, read), DecodeResult::OtherVersion);
    }
    NetMessage read;
    std::vector<std::uint8_t> bytes = encode_message(Welcome{1, 2, GameMode::Blob, 3});
    bytes[19] = 2; // no such mode
    EXPECT_EQ(decode_message(bytes, read), DecodeResult::Malformed);
    bytes = encode_message(Inputs{1, 0, 0, 0, 0, 0, 0, {0x40}});
    EXPECT_EQ(decode_message(bytes, read), DecodeResult::Malformed); // a bit no key has
    bytes = encode_message(Inputs{1, 0, 0, 0, 0, 0, 0, std::vector<SideInput>(65)});
    EXPECT_EQ(decode_message(bytes, read), DecodeResult::Malformed); // more than one message holds
    bytes = encode_message(Leave{1});
    bytes[6] = 9; // no such message
    EXPECT_EQ(decode_message(bytes, read), DecodeResult::Malformed);
}

class RollbackTest : public GameTest {
  protected:
    void start() {
        game_state.player_count = 2;
        start_game(99);
    }
};

// A wrong prediction is played again from the tick it went wrong: the
// state is the one the real inputs give, effects are not heard twice, the
// playfield is drawn again with the game-over picture over a finished board.
TEST_F(RollbackTest, AWrongPredictionIsPlayedAgainInSilence) {
    start();
    players[1].state = state_topped_out;
    const GameState start_state = game_state;
    const SideInput joiner[] = {0, 0, 8, 8, 0, 0, 8};
    RollbackSession session(0);
    session.add_remote(0, std::span(joiner).first(2));
    for (int tick = 0; tick < 7; ++tick)
        session.advance(tick == 3 ? 8 : 0); // the host drops on tick 3
    const std::size_t effects_heard = output.effects().size();
    const int redraws = output.count(OutputEvent::Kind::RedrawPlayfield);
    const int game_overs = output.count(OutputEvent::Kind::DrawGameOver);
    session.add_remote(2, std::span(joiner).subspan(2));
    EXPECT_EQ(session.reconcile(), 5);
    EXPECT_EQ(output.effects().size(), effects_heard);
    EXPECT_EQ(output.count(OutputEvent::Kind::RedrawPlayfield), redraws + 1);
    EXPECT_EQ(output.count(OutputEvent::Kind::DrawGameOver), game_overs + 1);
    EXPECT_EQ(session.reconcile(), 0);
    const std::uint64_t rolled_back = state_checksum(game_state);

    game_state = start_state;
    for (int tick = 0; tick < 7; ++tick)
        run_tick(merged_frame(tick == 3 ? 8 : 0, joiner[tick]));
    EXPECT_EQ(state_checksum(game_state), rolled_back);
}

// A side runs at most 8 ticks ahead of the other side's inputs; inputs it
// already has stay as they were, and ones from far ahead are not taken.
TEST_F(RollbackTest, RunsNoFurtherAheadThanTheRollbackAllows) {
    start();
    RollbackSession session(1);
    for (int tick = 0; tick < max_rollback_ticks; ++tick) {
        ASSERT_TRUE(session.can_advance());
        session.advance(0);
    }
    EXPECT_FALSE(session.can_advance());
    const SideInput first[] = {1, 1};
    const SideInput changed[] = {2, 2, 2};
    session.add_remote(0, first);
    session.add_remote(0, changed);
    EXPECT_EQ(session.remote_known(), 3u);
    EXPECT_EQ(session.frame(0), merged_frame(1, 0));
    EXPECT_EQ(session.frame(2), merged_frame(2, 0));
    session.add_remote(100, first);
    session.add_remote(UINT32_MAX, changed); // would wrap round to tick 1
    EXPECT_EQ(session.remote_known(), 3u);
    EXPECT_TRUE(session.can_advance());
}

// P on either side pauses both, and either side resumes; the next game
// starts once both sides want it.
TEST_F(RollbackTest, PauseAndTheNextGameAreAgreedByBothSides) {
    start();
    NetPeer host(0, 5, 0);
    NetPeer joiner(1, 5, 0);
    const auto deliver = [](NetPeer& from, NetPeer& to) {
        for (const std::vector<std::uint8_t>& packet : from.outgoing()) {
            NetMessage message;
            ASSERT_EQ(decode_message(packet, message), DecodeResult::Ok);
            EXPECT_EQ(to.receive(message, 10), PeerEvent::None);
        }
    };
    joiner.press_pause();
    EXPECT_TRUE(joiner.paused());
    EXPECT_FALSE(host.paused());
    deliver(joiner, host);
    EXPECT_EQ(host.next_tick(), TickOutcome::Paused);
    host.press_pause();
    deliver(host, joiner);
    EXPECT_FALSE(host.paused());
    EXPECT_FALSE(joiner.paused());

    host.set_ready();
    EXPECT_FALSE(host.next_game_agreed());
    deliver(host, joiner);
    EXPECT_FALSE(joiner.next_game_agreed());
    joiner.set_ready();
    EXPECT_TRUE(joiner.next_game_agreed());
    joiner.start_next_game();
    deliver(joiner, host); // the joiner is in the next game already
    EXPECT_TRUE(host.next_game_agreed());
    EXPECT_EQ(host.check_silence(peer_silence_ms + 9), PeerEvent::None);
    EXPECT_EQ(host.check_silence(peer_silence_ms + 10), PeerEvent::Silent);
}

// A checksum of the other side that differs from this side's for the same
// tick ends the game, whichever comes first.
TEST_F(RollbackTest, AChecksumThatDiffersIsOutOfStep) {
    start();
    NetPeer host(0, 5, 0);
    EXPECT_EQ(host.receive(StateChecksum{5, 0, 0, state_checksum(game_state)}, 1), PeerEvent::None);
    EXPECT_EQ(host.check_step(), PeerEvent::None);
    EXPECT_EQ(host.receive(StateChecksum{6, 0, 0, 1}, 1), PeerEvent::None); // another session's
    EXPECT_EQ(host.check_step(), PeerEvent::None);
    EXPECT_EQ(host.receive(StateChecksum{5, 0, 0, 1}, 1), PeerEvent::None);
    EXPECT_EQ(host.check_step(), PeerEvent::OutOfStep);
    EXPECT_EQ(host.receive(Leave{5}, 2), PeerEvent::Left);
}

// Random games through 120 ms of round trip, jitter, 5 % loss and
// duplicates: both sides end in the same state and neither ever waits.
TEST(NetworkPlay, RandomGamesEndAlikeOnBothSidesWithoutWaiting) {
    constexpr int games_per_mode = 1000;
    for (int game = 0; game < 2 * games_per_mode; ++game) {
        const GameMode mode = game % 2 ? GameMode::Blob : GameMode::Blokit;
        const MatchFigures figures = play_network_match(mode, 1000 + game, NetworkConditions{});
        ASSERT_TRUE(figures.finished) << "game " << game;
        ASSERT_EQ(figures.final_checksum[0], figures.final_checksum[1]) << "game " << game;
        ASSERT_FALSE(figures.out_of_step) << "game " << game;
        ASSERT_EQ(figures.waits, 0u) << "game " << game;
    }
}

} // namespace
