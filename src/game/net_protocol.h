#pragma once

// The messages two machines exchange in a network game, as bytes. Every
// packet starts with the magic "BKNP", the protocol version and the message
// type; all numbers are little-endian. The layout of each message is in the
// README.

#include <cstdint>
#include <span>
#include <variant>
#include <vector>

#include "game/player.h"

constexpr std::uint16_t protocol_version = 1;
// The UDP port a host listens on unless told another.
constexpr std::uint16_t default_port = 24680;
// The most inputs one message carries.
constexpr int max_inputs_per_message = 64;
// The largest packet of this protocol.
constexpr std::size_t max_packet_bytes = 128;

// One side's input for one tick: its four actions in latch order (bits 0 to
// 3), Esc (bit 4) and the press of F1 that changes its key set (bit 5).
using SideInput = std::uint8_t;
constexpr SideInput side_escape_bit = 1 << 4;
constexpr SideInput side_key_set_bit = 1 << 5;
constexpr SideInput side_input_mask = 0x3F;

// The joiner asks to play.
struct Hello {
    std::uint64_t data_hash = 0;
    std::uint32_t session = 0; // random, chosen by the joiner
};

// The host accepts: the mode of its games and the seed they start from.
struct Welcome {
    std::uint64_t data_hash = 0;
    std::uint32_t session = 0;
    GameMode mode = GameMode::Blokit;
    std::uint32_t seed = 0;
};

enum class RefuseReason : std::uint8_t { OtherVersion = 1, OtherGameData = 2, Busy = 3 };

struct Refuse {
    std::uint32_t session = 0;
    RefuseReason reason = RefuseReason::Busy;
};

// Sent every tick: the sender's inputs of game `game` from tick `first` on,
// what it has of the receiver's (`ack`: every tick before it), and its part
// in pausing and in starting the next game.
struct Inputs {
    std::uint32_t session = 0;
    std::uint16_t game = 0;
    std::uint8_t pause = 0;    // counts the presses of P; odd while paused
    std::uint8_t ready = 0;    // 1 once the sender wants the next game
    std::int8_t advantage = 0; // the sender's ticks ahead of the inputs it has of the receiver
    std::uint32_t ack = 0;
    std::uint32_t first = 0;
    std::vector<SideInput> inputs;
};

// The checksum of the state before tick `tick` of game `game`.
struct StateChecksum {
    std::uint32_t session = 0;
    std::uint16_t game = 0;
    std::uint32_t tick = 0;
    std::uint64_t checksum = 0;
};

struct Leave {
    std::uint32_t session = 0;
};

using NetMessage = std::variant<Hello, Welcome, Refuse, Inputs, StateChecksum, Leave>;

enum class DecodeResult { Ok, OtherVersion, Malformed };

std::vector<std::uint8_t> encode_message(const NetMessage& message);

// Checks the length and every value: anything short, long, unknown or out of
// range is Malformed; a packet of this game with another protocol version is
// OtherVersion. `message` is filled only when Ok.
DecodeResult decode_message(std::span<const std::uint8_t> bytes, NetMessage& message);
