// MIDS parsing against arbitrary bytes, then the parsed buffers played
// through the stream sequencer the backends share.

#include "audio/mids_player.h"
#include "platform/midi_sequencer.h"

#include <cstddef>
#include <cstdint>

namespace {

class Discard final : public platform::MidiSink {
  public:
    void short_message(double, std::uint32_t) override {}
    void all_notes_off() override {}
    void done(double, platform::MidiHeader&) override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    MidsPlayer player;
    if (mids_parse(player, {data, size}) != MidsResult::Ok)
        return 0;
    platform::MidiSequencer sequencer(1000.0);
    if (!sequencer.set_time_division(player.time_format))
        sequencer.set_time_division(96);
    for (platform::MidiHeader& header : player.buffers) {
        platform::prepare_midi_header(header);
        sequencer.queue(header);
    }
    Discard sink;
    sequencer.restart();
    for (int step = 0; step < 4; ++step)
        sequencer.advance(60000.0, sink);
    sequencer.reset(sink);
    return 0;
}
