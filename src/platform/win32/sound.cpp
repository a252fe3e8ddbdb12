#include "platform/sound.h"
#include "platform/wave_format.h"
#include "platform/win32/backend.h"

#include <dsound.h>

#include <algorithm>
#include <vector>

namespace platform {

// A DirectSound device; null when the system has none.
class SoundDevice {
  public:
    explicit SoundDevice(IDirectSound8* sound) : sound(sound) {}
    ~SoundDevice() { sound->Release(); }
    IDirectSound8* sound;
};

// A static DirectSound buffer. Its bytes are kept as well, to be written
// again when the system takes the buffer's memory away.
class SoundBuffer {
  public:
    explicit SoundBuffer(IDirectSoundBuffer* buffer, std::uint32_t bytes)
        : buffer(buffer), bytes(bytes) {}
    ~SoundBuffer() { buffer->Release(); }

    // Copies the kept bytes into the buffer's memory.
    bool fill() {
        void* first = nullptr;
        DWORD first_size = 0;
        if (buffer->Lock(0, 0, &first, &first_size, nullptr, nullptr, DSBLOCK_ENTIREBUFFER) !=
            DS_OK)
            return false;
        std::copy_n(bytes.begin(), std::min<std::size_t>(first_size, bytes.size()),
                    static_cast<std::uint8_t*>(first));
        buffer->Unlock(first, first_size, nullptr, 0);
        return true;
    }

    IDirectSoundBuffer* buffer;
    std::vector<std::uint8_t> bytes;
};

SoundDevice* create_sound_device() {
    IDirectSound8* sound = nullptr;
    if (DirectSoundCreate8(nullptr, &sound, nullptr) != DS_OK)
        return nullptr;
    HWND window = win32::backend().window ? win32::backend().window : GetDesktopWindow();
    if (sound->SetCooperativeLevel(window, DSSCL_PRIORITY) != DS_OK) {
        sound->Release();
        return nullptr;
    }
    return new SoundDevice(sound);
}

void release_sound_device(SoundDevice* device) {
    delete device;
}

SoundBuffer* create_sound_buffer(SoundDevice& device, std::span<const std::uint8_t> format,
                                 std::uint32_t bytes) {
    WaveFormat wave;
    if (bytes == 0 || !read_wave_format(format, wave))
        return nullptr;
    WAVEFORMATEX described{};
    described.wFormatTag = WAVE_FORMAT_PCM;
    described.nChannels = wave.channels;
    described.nSamplesPerSec = wave.frames_per_second;
    described.wBitsPerSample = wave.bits_per_sample;
    described.nBlockAlign = wave.block_align;
    described.nAvgBytesPerSec = wave.frames_per_second * wave.block_align;
    // Whole frames only: DirectSound refuses a size that splits one.
    const std::uint32_t size = bytes - bytes % wave.block_align;
    DSBUFFERDESC wanted{};
    wanted.dwSize = sizeof wanted;
    wanted.dwFlags = DSBCAPS_STATIC | DSBCAPS_GLOBALFOCUS;
    wanted.dwBufferBytes = size;
    wanted.lpwfxFormat = &described;
    IDirectSoundBuffer* buffer = nullptr;
    if (size < DSBSIZE_MIN || size > DSBSIZE_MAX ||
        device.sound->CreateSoundBuffer(&wanted, &buffer, nullptr) != DS_OK)
        return nullptr;
    return new SoundBuffer(buffer, size);
}

std::span<std::uint8_t> lock_sound_buffer(SoundBuffer& buffer) {
    return buffer.bytes;
}

void unlock_sound_buffer(SoundBuffer& buffer) {
    if (!buffer.fill() && buffer.buffer->Restore() == DS_OK)
        buffer.fill();
}

void play_sound_buffer(SoundBuffer& buffer) {
    DWORD status = 0;
    buffer.buffer->GetStatus(&status);
    if (status & DSBSTATUS_BUFFERLOST) {
        if (buffer.buffer->Restore() != DS_OK || !buffer.fill())
            return;
    } else if (status & DSBSTATUS_PLAYING) {
        return;
    }
    buffer.buffer->SetCurrentPosition(0);
    buffer.buffer->Play(0, 0, 0);
}

void release_sound_buffer(SoundBuffer* buffer) {
    delete buffer;
}

} // namespace platform
