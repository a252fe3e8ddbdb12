#include "game/net_protocol.h"

#include <algorithm>

namespace {

constexpr std::uint8_t magic[4] = {'B', 'K', 'N', 'P'};
constexpr std::size_t header_bytes = 7; // magic, version, type

class Writer {
  public:
    void put(std::uint64_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
    std::vector<std::uint8_t> out;
};

// Reads fields in order; once a field runs past the end, every later read
// gives 0 and ok() stays false.
class Reader {
  public:
    explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::uint64_t get(int bytes) {
        if (bytes_.size() - offset_ < static_cast<std::size_t>(bytes)) {
            ok_ = false;
            return 0;
        }
        std::uint64_t value = 0;
        for (int i = 0; i < bytes; ++i)
            value |= std::uint64_t(bytes_[offset_++]) << (8 * i);
        return value;
    }
    // Every field read and nothing left over.
    bool ok() const { return ok_ && offset_ == bytes_.size(); }

  private:
    std::span<const std::uint8_t> bytes_;
    std::size_t offset_ = 0;
    bool ok_ = true;
};

// A message's type on the wire: 1 for the first kind of NetMessage on.
std::uint8_t type_of(const NetMessage& message) {
    return static_cast<std::uint8_t>(message.index() + 1);
}

void write_body(Writer& w, const Hello& m) {
    w.put(m.data_hash, 8);
    w.put(m.session, 4);
}
void write_body(Writer& w, const Welcome& m) {
    w.put(m.data_hash, 8);
    w.put(m.session, 4);
    w.put(static_cast<std::uint8_t>(m.mode), 1);
    w.put(m.seed, 4);
}
void write_body(Writer& w, const Refuse& m) {
    w.put(m.session, 4);
    w.put(static_cast<std::uint8_t>(m.reason), 1);
}
void write_body(Writer& w, const Inputs& m) {
    w.put(m.session, 4);
    w.put(m.game, 2);
    w.put(m.pause, 1);
    w.put(m.ready, 1);
    w.put(static_cast<std::uint8_t>(m.advantage), 1);
    w.put(m.ack, 4);
    w.put(m.first, 4);
    w.put(m.inputs.size(), 1);
    for (SideInput input : m.inputs)
        w.put(input, 1);
}
void write_body(Writer& w, const StateChecksum& m) {
    w.put(m.session, 4);
    w.put(m.game, 2);
    w.put(m.tick, 4);
    w.put(m.checksum, 8);
}
void write_body(Writer& w, const Leave& m) {
    w.put(m.session, 4);
}

bool read_body(Reader& r, Hello& m) {
    m.data_hash = r.get(8);
    m.session = static_cast<std::uint32_t>(r.get(4));
    return true;
}
bool read_body(Reader& r, Welcome& m) {
    m.data_hash = r.get(8);
    m.session = static_cast<std::uint32_t>(r.get(4));
    const auto mode = r.get(1);
    m.mode = static_cast<GameMode>(mode);
    m.seed = static_cast<std::uint32_t>(r.get(4));
    return mode <= static_cast<std::uint8_t>(GameMode::Blob);
}
bool read_body(Reader& r, Refuse& m) {
    m.session = static_cast<std::uint32_t>(r.get(4));
    const auto reason = r.get(1);
    m.reason = static_cast<RefuseReason>(reason);
    return reason >= 1 && reason <= static_cast<std::uint8_t>(RefuseReason::Busy);
}
bool read_body(Reader& r, Inputs& m) {
    m.session = static_cast<std::uint32_t>(r.get(4));
    m.game = static_cast<std::uint16_t>(r.get(2));
    m.pause = static_cast<std::uint8_t>(r.get(1));
    m.ready = static_cast<std::uint8_t>(r.get(1));
    m.advantage = static_cast<std::int8_t>(r.get(1));
    m.ack = static_cast<std::uint32_t>(r.get(4));
    m.first = static_cast<std::uint32_t>(r.get(4));
    const auto count = static_cast<int>(r.get(1));
    if (count > max_inputs_per_message || m.ready > 1)
        return false;
    m.inputs.resize(static_cast<std::size_t>(count));
    for (SideInput& input : m.inputs)
        input = static_cast<SideInput>(r.get(1));
    return std::all_of(m.inputs.begin(), m.inputs.end(),
                       [](SideInput input) { return (input & ~side_input_mask) == 0; });
}
bool read_body(Reader& r, StateChecksum& m) {
    m.session = static_cast<std::uint32_t>(r.get(4));
    m.game = static_cast<std::uint16_t>(r.get(2));
    m.tick = static_cast<std::uint32_t>(r.get(4));
    m.checksum = r.get(8);
    return true;
}
bool read_body(Reader& r, Leave& m) {
    m.session = static_cast<std::uint32_t>(r.get(4));
    return true;
}

template <typename Body> bool read_message(Reader& reader, NetMessage& message) {
    Body body;
    if (!read_body(reader, body) || !reader.ok())
        return false;
    message = std::move(body);
    return true;
}

} // namespace

std::vector<std::uint8_t> encode_message(const NetMessage& message) {
    Writer writer;
    for (std::uint8_t byte : magic)
        writer.put(byte, 1);
    writer.put(protocol_version, 2);
    writer.put(type_of(message), 1);
    std::visit([&writer](const auto& body) { write_body(writer, body); }, message);
    return writer.out;
}

DecodeResult decode_message(std::span<const std::uint8_t> bytes, NetMessage& message) {
    if (bytes.size() < header_bytes || bytes.size() > max_packet_bytes ||
        !std::equal(std::begin(magic), std::end(magic), bytes.begin()))
        return DecodeResult::Malformed;
    Reader reader(bytes.subspan(sizeof magic));
    if (reader.get(2) != protocol_version)
        return DecodeResult::OtherVersion;
    // The readers in the order of the types, which is that of NetMessage.
    using ReadMessage = bool (*)(Reader&, NetMessage&);
    constexpr ReadMessage readers[] = {read_message<Hello>,         read_message<Welcome>,
                                       read_message<Refuse>,        read_message<Inputs>,
                                       read_message<StateChecksum>, read_message<Leave>};
    const auto type = static_cast<std::size_t>(reader.get(1));
    const bool ok = type >= 1 && type <= std::size(readers) && readers[type - 1](reader, message);
    return ok ? DecodeResult::Ok : DecodeResult::Malformed;
}
