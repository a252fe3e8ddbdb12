#pragma once

// The playing of a MIDI stream, shared by the backends: the queue of
// buffers, the walk through their events, tempo and time division. A backend
// moves it on by an amount of time in its own units (sample frames, virtual
// milliseconds) and receives the events that fall due through a sink.

#include "platform/midi_stream.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

namespace platform {

// Times given to a sink are in the sequencer's units, counted from the start
// of the current advance: never below 0, never decreasing within one advance.
class MidiSink {
  public:
    virtual void short_message(double at, std::uint32_t message) = 0;
    virtual void all_notes_off() = 0;
    // A buffer has played; the sink may queue it (or another) again at once.
    virtual void done(double at, MidiHeader& header) = 0;

  protected:
    ~MidiSink() = default;
};

MidiResult prepare_midi_header(MidiHeader& header);
MidiResult unprepare_midi_header(MidiHeader& header);

class MidiSequencer {
  public:
    explicit MidiSequencer(double units_per_second) : units_per_second_(units_per_second) {}

    bool set_time_division(std::uint32_t time_division);
    MidiResult queue(MidiHeader& header);
    void restart() { paused_ = false; }
    void pause(MidiSink& sink);
    // Silences the sink and takes every queued buffer out, in queue order,
    // marked done; the caller hands them back.
    std::vector<MidiHeader*> reset(MidiSink& sink);
    bool paused() const { return paused_; }
    // Started, with buffers queued.
    bool playing() const { return !paused_ && !queue_.empty(); }

    // Plays the next `units` of the stream: the events due within them go to
    // the sink, and every buffer whose events are all played comes back done.
    void advance(double units, MidiSink& sink);

  private:
    struct Event {
        std::uint32_t delta = 0;
        std::uint32_t event = 0;
        std::size_t next = 0; // offset of the record after this one
    };

    bool read_event(const MidiHeader& header, Event& event) const;
    double ticks_to_units(std::uint32_t ticks) const;
    void play(const Event& event, MidiSink& sink);
    void finish_front(MidiSink& sink);

    double units_per_second_;
    std::deque<MidiHeader*> queue_;
    std::size_t offset_ = 0; // next record in the front buffer
    bool paused_ = true;
    std::uint32_t time_division_ = 96;
    std::uint32_t tempo_ = 500000; // microseconds per quarter note
    // When the last event played, relative to the start of the next advance.
    double last_event_ = 0;
};

} // namespace platform
