#include "platform/midi_stream.h"
#include "platform/win32/backend.h"

#include <map>
#include <memory>
#include <mutex>

namespace platform {

// A stream on the default MIDI device (the mapper). The game's headers are
// the system's MIDIHDRs' owners: each prepared header has one, whose
// buffer is the game's own, and the system's flags are copied back before
// the game hears that a buffer is done. The records of a buffer are the
// system's MIDIEVENTs as they stand.
class MidiStream {
  public:
    explicit MidiStream(MidiDoneCallback callback) : callback(callback) {}

    MIDIHDR* system_header(MidiHeader& header) {
        std::lock_guard lock(mutex);
        const auto found = headers.find(&header);
        return found == headers.end() ? nullptr : found->second.get();
    }

    HMIDISTRM handle = nullptr;
    MidiDoneCallback callback;
    std::mutex mutex;
    std::map<MidiHeader*, std::unique_ptr<MIDIHDR>> headers;
};

namespace {

constexpr DWORD midi_channels = 16;
// Control change 123, All Notes Off; the channel goes in the low bits.
constexpr DWORD all_notes_off = 0xB0 | (123 << 8);

MidiResult result_of(MMRESULT result) {
    switch (result) {
    case MMSYSERR_NOERROR:
        return MidiResult::Ok;
    case MMSYSERR_INVALPARAM:
    case MMSYSERR_INVALHANDLE:
        return MidiResult::InvalidParameter;
    case MIDIERR_UNPREPARED:
        return MidiResult::Unprepared;
    case MIDIERR_STILLPLAYING:
        return MidiResult::StillPlaying;
    default:
        return MidiResult::NoDevice;
    }
}

HMIDIOUT output_of(const MidiStream& stream) {
    return reinterpret_cast<HMIDIOUT>(stream.handle);
}

// Runs on the system's own thread whenever a buffer has played or a reset
// hands it back.
void CALLBACK stream_event(HMIDIOUT, UINT message, DWORD_PTR instance, DWORD_PTR parameter,
                           DWORD_PTR) {
    if (message != MOM_DONE)
        return;
    auto* system = reinterpret_cast<MIDIHDR*>(parameter);
    auto* header = reinterpret_cast<MidiHeader*>(system->dwUser);
    const auto* stream = reinterpret_cast<const MidiStream*>(instance);
    header->flags =
        system->dwFlags & (midi_header_done | midi_header_prepared | midi_header_queued);
    stream->callback(*header);
}

} // namespace

MidiResult midi_stream_open(MidiStream*& stream, MidiDoneCallback callback) {
    auto opened = std::make_unique<MidiStream>(callback);
    UINT device = MIDI_MAPPER;
    const MMRESULT result =
        midiStreamOpen(&opened->handle, &device, 1, reinterpret_cast<DWORD_PTR>(stream_event),
                       reinterpret_cast<DWORD_PTR>(opened.get()), CALLBACK_FUNCTION);
    if (result != MMSYSERR_NOERROR)
        return MidiResult::NoDevice;
    stream = opened.release();
    return MidiResult::Ok;
}

MidiResult midi_stream_set_time_division(MidiStream& stream, std::uint32_t time_division) {
    MIDIPROPTIMEDIV property{};
    property.cbStruct = sizeof property;
    property.dwTimeDiv = time_division;
    return result_of(midiStreamProperty(stream.handle, reinterpret_cast<LPBYTE>(&property),
                                        MIDIPROP_SET | MIDIPROP_TIMEDIV));
}

MidiResult midi_prepare_header(MidiStream& stream, MidiHeader& header) {
    auto system = std::make_unique<MIDIHDR>();
    system->lpData = reinterpret_cast<LPSTR>(header.data);
    system->dwBufferLength = header.buffer_length;
    system->dwBytesRecorded = header.bytes_recorded;
    system->dwUser = reinterpret_cast<DWORD_PTR>(&header);
    const MMRESULT result = midiOutPrepareHeader(output_of(stream), system.get(), sizeof(MIDIHDR));
    if (result != MMSYSERR_NOERROR)
        return result_of(result);
    header.flags = system->dwFlags;
    std::lock_guard lock(stream.mutex);
    stream.headers[&header] = std::move(system);
    return MidiResult::Ok;
}

MidiResult midi_unprepare_header(MidiStream& stream, MidiHeader& header) {
    MIDIHDR* system = stream.system_header(header);
    if (!system)
        return MidiResult::Unprepared;
    const MMRESULT result = midiOutUnprepareHeader(output_of(stream), system, sizeof(MIDIHDR));
    if (result != MMSYSERR_NOERROR)
        return result_of(result);
    header.flags = system->dwFlags;
    std::lock_guard lock(stream.mutex);
    stream.headers.erase(&header);
    return MidiResult::Ok;
}

MidiResult midi_stream_out(MidiStream& stream, MidiHeader& header) {
    MIDIHDR* system = stream.system_header(header);
    if (!system)
        return MidiResult::Unprepared;
    system->dwBytesRecorded = header.bytes_recorded;
    const MMRESULT result = midiStreamOut(stream.handle, system, sizeof(MIDIHDR));
    header.flags = system->dwFlags;
    return result_of(result);
}

MidiResult midi_stream_restart(MidiStream& stream) {
    return result_of(midiStreamRestart(stream.handle));
}

// The stream stops where it stands; the notes it left sounding are ended
// too, as the other backends do, so that a pause (the music switched off)
// leaves no note hanging.
MidiResult midi_stream_pause(MidiStream& stream) {
    const MMRESULT result = midiStreamPause(stream.handle);
    if (result == MMSYSERR_NOERROR)
        for (DWORD channel = 0; channel < midi_channels; ++channel)
            midiOutShortMsg(output_of(stream), all_notes_off | channel);
    return result_of(result);
}

MidiResult midi_stream_reset(MidiStream& stream) {
    return result_of(midiOutReset(output_of(stream)));
}

MidiResult midi_stream_close(MidiStream* stream) {
    if (stream == nullptr)
        return MidiResult::InvalidParameter;
    const MMRESULT result = midiStreamClose(stream->handle);
    if (result != MMSYSERR_NOERROR)
        return result_of(result);
    delete stream;
    return MidiResult::Ok;
}

} // namespace platform
