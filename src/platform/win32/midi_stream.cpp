#include "platform/midi_stream.h"
#include "platform/win32/backend.h"

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace platform {

// A stream on the default MIDI device (the mapper). The game's headers are
// the system's MIDIHDRs' owners: each prepared header has one, whose
// buffer is the game's own, and the system's flags are copied back before
// the game hears that a buffer is done. The records of a buffer are the
// system's MIDIEVENTs as they stand.
//
// The system's callback may call almost no function (no other multimedia
// call: a real driver can deadlock), so it only notes the buffer and wakes
// a thread of the stream's own, which tells the game, and the game queues
// the buffer again from there.
class MidiStream {
  public:
    explicit MidiStream(MidiDoneCallback callback) : callback_(callback) {
        InitializeCriticalSection(&returned_lock_);
        // Room for more buffers than the game ever queues: the system's
        // callback must not have to allocate.
        returned_.reserve(64);
        worker_ = std::thread([this] { run(); });
    }
    ~MidiStream() {
        closing_ = true;
        SetEvent(wake_);
        worker_.join();
        CloseHandle(wake_);
        DeleteCriticalSection(&returned_lock_);
    }
    MidiStream(const MidiStream&) = delete;
    MidiStream& operator=(const MidiStream&) = delete;

    MIDIHDR* system_header(MidiHeader& header) {
        std::lock_guard lock(mutex);
        const auto found = headers.find(&header);
        return found == headers.end() ? nullptr : found->second.get();
    }

    // On the system's thread: only a critical section and an event.
    void buffer_done(MidiHeader& header) {
        EnterCriticalSection(&returned_lock_);
        returned_.push_back(&header);
        LeaveCriticalSection(&returned_lock_);
        InterlockedDecrement(&queued_);
        SetEvent(wake_);
    }

    void buffer_queued() { InterlockedIncrement(&queued_); }

    // Silences the stream and tells the game of every buffer before it
    // returns, while no other telling runs.
    MMRESULT reset() {
        std::lock_guard lock(telling_);
        const MMRESULT result = midiOutReset(reinterpret_cast<HMIDIOUT>(handle));
        // The system may hand the buffers back on its own thread a little
        // later; a second is more than any driver takes.
        for (int waited_ms = 0; queued_ > 0 && waited_ms < 1000; ++waited_ms)
            Sleep(1);
        tell_returned();
        return result;
    }

    HMIDISTRM handle = nullptr;
    std::mutex mutex; // guards `headers`
    std::map<MidiHeader*, std::unique_ptr<MIDIHDR>> headers;

  private:
    void run() {
        while (WaitForSingleObject(wake_, INFINITE) == WAIT_OBJECT_0 && !closing_) {
            std::lock_guard lock(telling_);
            tell_returned();
        }
    }

    void tell_returned() {
        EnterCriticalSection(&returned_lock_);
        const std::vector<MidiHeader*> returned = returned_;
        returned_.clear(); // keeps its room
        LeaveCriticalSection(&returned_lock_);
        for (MidiHeader* header : returned)
            callback_(*header);
    }

    MidiDoneCallback callback_;
    CRITICAL_SECTION returned_lock_;
    std::vector<MidiHeader*> returned_; // in the order they came back
    volatile LONG queued_ = 0;
    HANDLE wake_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    std::atomic<bool> closing_ = false;
    std::mutex telling_; // held while the game hears of returned buffers
    std::thread worker_;
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
    header->flags =
        system->dwFlags & (midi_header_done | midi_header_prepared | midi_header_queued);
    reinterpret_cast<MidiStream*>(instance)->buffer_done(*header);
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
    if (result == MMSYSERR_NOERROR)
        stream.buffer_queued();
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
    return result_of(stream.reset());
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
