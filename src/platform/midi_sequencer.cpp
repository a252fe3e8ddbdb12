#include "platform/midi_sequencer.h"

#include <algorithm>
#include <cstring>

namespace platform {

namespace {

constexpr std::size_t event_record_bytes = 12;
constexpr std::uint32_t smpte_bit = 0x8000;

std::uint32_t u32_at(const std::uint8_t* bytes) {
    std::uint32_t value;
    std::memcpy(&value, bytes, sizeof value);
    return value; // little-endian, as the stream's buffers are
}

std::uint8_t event_type(std::uint32_t event) {
    return static_cast<std::uint8_t>((event & ~midi_event_callback) >> 24);
}

} // namespace

MidiResult prepare_midi_header(MidiHeader& header) {
    if (header.data == nullptr && header.buffer_length != 0)
        return MidiResult::InvalidParameter;
    header.flags |= midi_header_prepared;
    return MidiResult::Ok;
}

MidiResult unprepare_midi_header(MidiHeader& header) {
    if (header.flags & midi_header_queued)
        return MidiResult::StillPlaying;
    header.flags &= ~midi_header_prepared;
    return MidiResult::Ok;
}

bool MidiSequencer::set_time_division(std::uint32_t time_division) {
    if (time_division > 0xFFFF)
        return false;
    // Frame-based divisions always carry a frame rate (bit 15 makes it
    // negative); they need ticks a frame.
    const bool frame_based = time_division & smpte_bit;
    if ((frame_based && (time_division & 0xFF) == 0) || time_division == 0)
        return false;
    time_division_ = time_division;
    return true;
}

MidiResult MidiSequencer::queue(MidiHeader& header) {
    if (!(header.flags & midi_header_prepared))
        return MidiResult::Unprepared;
    if (header.flags & midi_header_queued || header.bytes_recorded > header.buffer_length)
        return MidiResult::InvalidParameter;
    header.flags = (header.flags | midi_header_queued) & ~midi_header_done;
    queue_.push_back(&header);
    return MidiResult::Ok;
}

void MidiSequencer::pause(MidiSink& sink) {
    paused_ = true;
    sink.all_notes_off();
}

std::vector<MidiHeader*> MidiSequencer::reset(MidiSink& sink) {
    sink.all_notes_off();
    std::vector<MidiHeader*> returned(queue_.begin(), queue_.end());
    for (MidiHeader* header : returned)
        header->flags = (header->flags | midi_header_done) & ~midi_header_queued;
    queue_.clear();
    offset_ = 0;
    last_event_ = 0;
    return returned;
}

// Reads the record at the current offset of `header`. False at the end of
// the recorded bytes, and for a record that does not fit in them: the rest
// of such a buffer is skipped.
bool MidiSequencer::read_event(const MidiHeader& header, Event& event) const {
    const std::size_t size = header.bytes_recorded;
    if (offset_ > size || size - offset_ < event_record_bytes)
        return false;
    const std::uint8_t* record = header.data + offset_;
    event.delta = u32_at(record);
    event.event = u32_at(record + 8);
    std::size_t parameters = 0;
    if (event.event & midi_event_long)
        parameters = ((event.event & 0xFFFFFF) + 3) & ~std::size_t{3};
    if (size - offset_ - event_record_bytes < parameters)
        return false;
    event.next = offset_ + event_record_bytes + parameters;
    return true;
}

double MidiSequencer::ticks_to_units(std::uint32_t ticks) const {
    if (time_division_ & smpte_bit) {
        const int frame_rate = -static_cast<std::int8_t>(time_division_ >> 8);
        const int ticks_per_frame = static_cast<int>(time_division_ & 0xFF);
        return ticks * units_per_second_ / (frame_rate * ticks_per_frame);
    }
    return ticks * (tempo_ / 1e6) * units_per_second_ / time_division_;
}

// Long events (system exclusive, comments, versions) carry nothing this
// stream plays; they are skipped like no-ops.
void MidiSequencer::play(const Event& event, MidiSink& sink) {
    if (event.event & midi_event_long)
        return;
    const std::uint8_t type = event_type(event.event);
    if (type == midi_event_short_message)
        sink.short_message(last_event_, event.event & 0xFFFFFF);
    else if (type == midi_event_tempo)
        tempo_ = event.event & 0xFFFFFF;
}

void MidiSequencer::finish_front(MidiSink& sink) {
    MidiHeader& header = *queue_.front();
    queue_.pop_front();
    offset_ = 0;
    header.flags = (header.flags | midi_header_done) & ~midi_header_queued;
    sink.done(std::max(0.0, last_event_), header);
}

void MidiSequencer::advance(double units, MidiSink& sink) {
    if (paused_)
        return;
    // Buffers that take no time at all could come back and be queued again
    // forever; once every queued buffer has finished without the clock
    // moving, the rest waits for the next advance.
    double progress_mark = last_event_;
    std::size_t finished_without_progress = 0;
    while (!queue_.empty()) {
        Event event;
        if (!read_event(*queue_.front(), event)) {
            finish_front(sink);
            if (last_event_ > progress_mark) {
                progress_mark = last_event_;
                finished_without_progress = 0;
            }
            if (++finished_without_progress > queue_.size() + 1)
                break;
            continue;
        }
        // An event held back from an earlier advance plays at its start.
        const double due = std::max(0.0, last_event_ + ticks_to_units(event.delta));
        if (due > units)
            break;
        last_event_ = due;
        offset_ = event.next;
        play(event, sink);
    }
    // With nothing queued the clock runs on; the next buffer starts from now.
    last_event_ = queue_.empty() ? 0 : last_event_ - units;
}

} // namespace platform
