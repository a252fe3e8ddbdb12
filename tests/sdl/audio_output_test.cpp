#include "formats/riff_builder.h"
#include "platform/midi_stream.h"
#include "platform/sdl/audio_output.h"
#include "platform/sdl/soundfont.h"
#include "platform/sound.h"
#include "support/temporary_directory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>
#include <tuple>

#include <unistd.h>

namespace {

using namespace std::chrono_literals;
using riff::Bytes;

// The output goes to a file in real time, as 16-bit stereo at 44100 frames
// a second; it is complete once the device has closed.
class AudioToFile : public testing::Test {
  protected:
    void SetUp() override {
        directory = make_temporary_directory("blokit-audio");
        path = directory / "output.raw";
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", path.c_str(), 1);
    }
    void TearDown() override { std::filesystem::remove_all(directory); }

    // Left channel of what was written.
    std::vector<int> left_channel() const {
        std::ifstream file(path, std::ios::binary);
        const std::vector<char> bytes{std::istreambuf_iterator<char>(file), {}};
        std::vector<int> left;
        for (std::size_t i = 0; i + 3 < bytes.size(); i += 4) {
            const auto low = static_cast<unsigned char>(bytes[i]);
            left.push_back(static_cast<std::int16_t>(low | bytes[i + 1] << 8));
        }
        return left;
    }

    std::filesystem::path directory;
    std::filesystem::path path;
};

platform::SoundBuffer* make_buffer(platform::SoundDevice& device, const Bytes& format,
                                   const Bytes& samples) {
    platform::SoundBuffer* buffer =
        platform::create_sound_buffer(device, format, static_cast<std::uint32_t>(samples.size()));
    if (buffer != nullptr) {
        std::span<std::uint8_t> bytes = platform::lock_sound_buffer(*buffer);
        std::copy(samples.begin(), samples.end(), bytes.begin());
        platform::unlock_sound_buffer(*buffer);
    }
    return buffer;
}

// Frames from the first to the last sample louder than `threshold`.
std::pair<std::size_t, std::size_t> sounding_span(const std::vector<int>& samples, int threshold) {
    std::size_t first = samples.size();
    std::size_t last = 0;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (std::abs(samples[i]) > threshold) {
            first = std::min(first, i);
            last = i;
        }
    }
    return {first, last};
}

TEST_F(AudioToFile, AnEightBitEffectIsConvertedAndNotRestartedWhileSounding) {
    platform::SoundDevice* device = platform::create_sound_device();
    ASSERT_NE(device, nullptr);
    // 200 ms of a 441 Hz sine, unsigned 8-bit mono at 11025 frames a second, half scale.
    Bytes samples;
    for (int i = 0; i < 11025 / 5; ++i)
        samples.push_back(static_cast<std::uint8_t>(128 + std::lround(64 * std::sin(i * 0.2513))));
    platform::SoundBuffer* buffer = make_buffer(*device, riff::pcm_format(1, 11025, 8), samples);
    ASSERT_NE(buffer, nullptr);
    platform::play_sound_buffer(*buffer);
    std::this_thread::sleep_for(80ms);
    platform::play_sound_buffer(*buffer);
    std::this_thread::sleep_for(500ms);
    platform::release_sound_buffer(buffer);
    platform::release_sound_device(device);

    const std::vector<int> left = left_channel();
    const auto [first, last] = sounding_span(left, 1000);
    ASSERT_LT(first, last);
    EXPECT_NEAR(static_cast<double>(last - first) / 44100, 0.2, 0.02);
    int peak = 0;
    for (std::size_t i = first; i <= last; ++i)
        peak = std::max(peak, std::abs(left[i]));
    EXPECT_NEAR(peak, 16384, 1500);
}

TEST_F(AudioToFile, OverlappingEffectsAreTurnedDownInsteadOfClipped) {
    platform::SoundDevice* device = platform::create_sound_device();
    ASSERT_NE(device, nullptr);
    const Bytes format = riff::pcm_format(1, 22050, 16);
    const Bytes tone = riff::tone_samples(22050, 400, 441, 0.8);
    platform::SoundBuffer* first = make_buffer(*device, format, tone);
    platform::SoundBuffer* second = make_buffer(*device, format, tone);
    ASSERT_TRUE(first && second);
    platform::play_sound_buffer(*first);
    platform::play_sound_buffer(*second);
    std::this_thread::sleep_for(600ms);
    platform::release_sound_device(device);

    const std::vector<int> left = left_channel();
    const auto [start, end] = sounding_span(left, 1000);
    ASSERT_GT(end, start + 4410);
    // The first tenth of a second, where both play at 0.8 of full scale:
    // added and clipped, more than half of the samples would sit at the rail.
    int at_rail = 0;
    int peak = 0;
    for (std::size_t i = start; i < start + 4410; ++i) {
        peak = std::max(peak, std::abs(left[i]));
        at_rail += std::abs(left[i]) >= 32000;
    }
    EXPECT_GT(peak, 20000);
    EXPECT_LT(at_rail, 4410 / 20);
}

// Every block of output and of recorded music is rounded this way; it must
// give what std::lround gives, at and beside each half between two samples.
TEST(NearestSample, RoundsAsLroundDoesOverTheWholeRange) {
    int differing = 0;
    for (int whole = -32767; whole < 32767; ++whole) {
        const float half = static_cast<float>(whole) + 0.5f;
        for (float value : {static_cast<float>(whole), std::nextafter(half, -1e9f), half,
                            std::nextafter(half, 1e9f), static_cast<float>(whole) + 0.25f}) {
            differing += sdl::nearest_sample(value) != std::lround(value);
            differing += sdl::nearest_sample(-value) != std::lround(-value);
        }
    }
    EXPECT_EQ(differing, 0);
}

std::atomic<int> buffers_done{0};
std::atomic<bool> done_on_main_thread{false};
std::thread::id main_thread;

void count_done(platform::MidiHeader&) {
    if (std::this_thread::get_id() == main_thread)
        done_on_main_thread = true;
    ++buffers_done;
}

class MidiToFile : public AudioToFile {
  protected:
    void SetUp() override {
        AudioToFile::SetUp();
        buffers_done = 0;
        done_on_main_thread = false;
        main_thread = std::this_thread::get_id();
    }

    void prepare(platform::MidiStream& stream, platform::MidiHeader& header, Bytes& events) {
        header.data = events.data();
        header.buffer_length = header.bytes_recorded = static_cast<std::uint32_t>(events.size());
        ASSERT_EQ(platform::midi_prepare_header(stream, header), platform::MidiResult::Ok);
    }

    // Opens the stream, plays a quarter note of 500 ms at the default tempo,
    // waits for its buffer to come back and closes the stream.
    void play_a_quarter_note() {
        buffers_done = 0;
        platform::MidiStream* stream = nullptr;
        ASSERT_EQ(platform::midi_stream_open(stream, count_done), platform::MidiResult::Ok);
        ASSERT_EQ(platform::midi_stream_set_time_division(*stream, 96), platform::MidiResult::Ok);
        Bytes events = riff::stream_events(
            {{0, riff::note_on(0, 69, 110), {}}, {96, riff::note_off(0, 69), {}}});
        platform::MidiHeader header;
        prepare(*stream, header, events);
        ASSERT_EQ(platform::midi_stream_out(*stream, header), platform::MidiResult::Ok);
        const auto start = std::chrono::steady_clock::now();
        ASSERT_EQ(platform::midi_stream_restart(*stream), platform::MidiResult::Ok);
        while (buffers_done == 0 && std::chrono::steady_clock::now() - start < 3s)
            std::this_thread::sleep_for(5ms);
        until_done = std::chrono::steady_clock::now() - start;
        EXPECT_EQ(platform::midi_unprepare_header(*stream, header), platform::MidiResult::Ok);
        EXPECT_EQ(platform::midi_stream_close(stream), platform::MidiResult::Ok);
    }

    std::chrono::steady_clock::duration until_done{};
};

TEST_F(MidiToFile, PlaysNotesAndHandsBuffersBackOnTheAudioThread) {
    play_a_quarter_note();
    EXPECT_EQ(buffers_done, 1);
    EXPECT_FALSE(done_on_main_thread);
    EXPECT_GE(until_done, 450ms);

    const std::vector<int> left = left_channel();
    const auto [first, last] = sounding_span(left, 1000);
    ASSERT_LT(first, last);
    EXPECT_GT(static_cast<double>(last - first) / 44100, 0.3);
}

platform::MidiStream* looping_stream = nullptr;
std::atomic<bool> looping = false;

void queue_again(platform::MidiHeader& header) {
    ++buffers_done;
    if (looping)
        platform::midi_stream_out(*looping_stream, header);
}

// The peak of the left channel from `from` to `to` seconds.
int peak_between(const std::vector<int>& left, double from, double to) {
    int peak = 0;
    for (auto i = static_cast<std::size_t>(from * 44100);
         i < static_cast<std::size_t>(to * 44100) && i < left.size(); ++i)
        peak = std::max(peak, std::abs(left[i]));
    return peak;
}

// A buffer of half a second, queued again from the audio thread each time it
// comes back: the music goes round and round, every round heard.
TEST_F(MidiToFile, LoopingMusicPlaysRoundAfterRound) {
    Bytes round = riff::stream_events({{0, riff::note_on(0, 69, 110), {}},
                                       {24, riff::note_off(0, 69), {}},
                                       {24, riff::note_on(0, 76, 110), {}},
                                       {24, riff::note_off(0, 76), {}},
                                       {24, 0x02000000, {}}});
    platform::MidiHeader header;
    ASSERT_EQ(platform::midi_stream_open(looping_stream, queue_again), platform::MidiResult::Ok);
    ASSERT_EQ(platform::midi_stream_set_time_division(*looping_stream, 96),
              platform::MidiResult::Ok);
    prepare(*looping_stream, header, round);
    looping = true;
    ASSERT_EQ(platform::midi_stream_out(*looping_stream, header), platform::MidiResult::Ok);
    ASSERT_EQ(platform::midi_stream_restart(*looping_stream), platform::MidiResult::Ok);
    std::this_thread::sleep_for(1800ms);
    looping = false;
    ASSERT_EQ(platform::midi_stream_reset(*looping_stream), platform::MidiResult::Ok);
    EXPECT_EQ(platform::midi_unprepare_header(*looping_stream, header), platform::MidiResult::Ok);
    ASSERT_EQ(platform::midi_stream_close(looping_stream), platform::MidiResult::Ok);

    EXPECT_GE(buffers_done, 3);
    const std::vector<int> left = left_channel();
    const std::size_t first = sounding_span(left, 1000).first;
    ASSERT_LT(first, left.size());
    const double start = static_cast<double>(first) / 44100;
    for (int round_number = 0; round_number < 3; ++round_number) {
        const double round_start = start + 0.5 * round_number;
        EXPECT_GT(peak_between(left, round_start, round_start + 0.1), 2000)
            << "round " << round_number + 1;
    }
}

TEST_F(MidiToFile, ResetHandsEveryQueuedBufferBackBeforeItReturns) {
    platform::MidiStream* stream = nullptr;
    ASSERT_EQ(platform::midi_stream_open(stream, count_done), platform::MidiResult::Ok);
    Bytes events = riff::stream_events({{960, riff::note_on(0, 60, 90), {}}});
    std::array<platform::MidiHeader, 3> headers;
    for (platform::MidiHeader& header : headers) {
        prepare(*stream, header, events);
        ASSERT_EQ(platform::midi_stream_out(*stream, header), platform::MidiResult::Ok);
        EXPECT_EQ(platform::midi_unprepare_header(*stream, header),
                  platform::MidiResult::StillPlaying);
    }
    ASSERT_EQ(platform::midi_stream_restart(*stream), platform::MidiResult::Ok);
    ASSERT_EQ(platform::midi_stream_reset(*stream), platform::MidiResult::Ok);
    EXPECT_EQ(buffers_done, 3);
    for (platform::MidiHeader& header : headers)
        EXPECT_EQ(platform::midi_unprepare_header(*stream, header), platform::MidiResult::Ok);
    EXPECT_EQ(platform::midi_stream_close(stream), platform::MidiResult::Ok);
}

TEST(SoundFontLookup, BlokitSoundfontComesFirstWhenItNamesAFile) {
    const std::filesystem::path directory = make_temporary_directory("blokit-soundfont");
    const std::string chosen = directory / "chosen.sf2";
    const std::string system = directory / "system.sf2";
    std::ofstream(chosen) << "chosen";
    std::ofstream(system) << "system";
    const std::vector<std::string> saved = sdl::soundfont_candidates();
    sdl::soundfont_candidates() = {"/nonexistent/blokit.sf2", system};

    setenv("BLOKIT_SOUNDFONT", chosen.c_str(), 1);
    EXPECT_EQ(sdl::existing_soundfonts(), (std::vector<std::string>{chosen, system}));
    // A name that is no file, or a directory, leaves the system's SoundFonts.
    for (const std::string& wrong : {std::string("/nonexistent/chosen.sf2"), directory.string()}) {
        setenv("BLOKIT_SOUNDFONT", wrong.c_str(), 1);
        EXPECT_EQ(sdl::existing_soundfonts(), std::vector<std::string>{system});
    }
    unsetenv("BLOKIT_SOUNDFONT");
    EXPECT_EQ(sdl::existing_soundfonts(), std::vector<std::string>{system});

    sdl::soundfont_candidates() = saved;
    std::filesystem::remove_all(directory);
}

TEST_F(MidiToFile, ADamagedSoundFontIsPassedOverAndWithoutOneTheMusicIsSilent) {
    unsetenv("BLOKIT_SOUNDFONT");
    const std::vector<std::string> installed = sdl::soundfont_candidates();
    const std::filesystem::path damaged = path.string() + ".sf2";
    std::ofstream(damaged) << "RIFF, but no SoundFont";
    // No file at all: the stream cannot open, and effects still play.
    sdl::soundfont_candidates() = {"/nonexistent/blokit.sf2"};
    platform::MidiStream* stream = nullptr;
    EXPECT_EQ(platform::midi_stream_open(stream, count_done), platform::MidiResult::NoDevice);
    platform::SoundDevice* device = platform::create_sound_device();
    EXPECT_NE(device, nullptr);
    platform::release_sound_device(device);

    // A damaged one only shows when it is loaded: the music keeps its time
    // in silence.
    sdl::soundfont_candidates().push_back(damaged.string());
    play_a_quarter_note();
    EXPECT_EQ(buffers_done, 1);
    std::vector<int> left = left_channel();
    EXPECT_GT(left.size(), 44100u * 4 / 10);
    EXPECT_EQ(sounding_span(left, 1000).first, left.size());

    // The next SoundFont plays.
    sdl::soundfont_candidates().insert(sdl::soundfont_candidates().end(), installed.begin(),
                                       installed.end());
    play_a_quarter_note();
    EXPECT_EQ(buffers_done, 1);
    left = left_channel();
    const auto [first, last] = sounding_span(left, 1000);
    ASSERT_LT(first, last);
    EXPECT_GT(static_cast<double>(last - first) / 44100, 0.3);
    sdl::soundfont_candidates() = installed;
    std::filesystem::remove(damaged);
}

// Intact while static objects are; at exit it is destroyed and, when
// `watching`, holds the exit up as a debugger may, so that an audio thread
// still running renders while statics are being destroyed.
struct ExitWatch {
    std::atomic<bool> intact{true};
    bool watching = false;
    ~ExitWatch() {
        intact = false;
        if (watching)
            std::this_thread::sleep_for(300ms);
    }
} exit_watch;

class WatchingSource : public sdl::AudioSource {
  public:
    void render(float*, int) override {
        if (!exit_watch.intact)
            _exit(3);
    }
};

TEST(AudioAtExit, TheAudioThreadEndsBeforeStaticObjectsAreDestroyed) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    EXPECT_EXIT(
        {
            static WatchingSource source;
            if (!sdl::acquire_audio_output())
                _exit(4);
            sdl::add_audio_source(source);
            exit_watch.watching = true;
            std::exit(0);
        },
        testing::ExitedWithCode(0), "");
}

TEST(AudioWithoutDevice, NeitherEffectsNorMusic) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    EXPECT_EQ(platform::create_sound_device(), nullptr);
    platform::MidiStream* stream = nullptr;
    EXPECT_EQ(platform::midi_stream_open(stream, count_done), platform::MidiResult::NoDevice);
}

} // namespace
