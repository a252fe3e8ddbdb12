// Renders the game's music through the synthesizer the game plays it with,
// with the same settings and SoundFont, as fast as the machine allows, and
// reports the processor time that costs per second of music: the least the
// music can cost while the game plays. Also reports the most voices that
// sounded at once, which the synthesizer's polyphony must cover.
//
//   blokit-music-floor SECONDS DATA_DIR

#include "audio/mids_player.h"
#include "audio/music.h"
#include "platform/midi_sequencer.h"
#include "platform/sdl/audio_output.h"
#include "platform/sdl/music_synth.h"
#include "platform/sdl/soundfont.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

namespace {

platform::MidiSequencer sequencer{sdl::output_rate};

// The music loops, as in the game.
void queue_again(platform::MidiHeader& header) {
    sequencer.queue(header);
}

double processor_seconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

bool load_first_soundfont(sdl::MusicSynth& synth) {
    for (const std::string& soundfont : sdl::existing_soundfonts())
        if (synth.load(soundfont)) {
            std::printf("SoundFont: %s\n", soundfont.c_str());
            return true;
        }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s SECONDS DATA_DIR\n", argv[0]);
        return 2;
    }
    const double seconds = std::atof(argv[1]);
    const std::string file = (std::filesystem::path(argv[2]) / music_file_name).string();
    MidsPlayer* player = nullptr;
    if (mids_open(player, file.c_str(), 0, mids_source_file) != MidsResult::Ok ||
        !sequencer.set_time_division(player->time_format)) {
        std::fprintf(stderr, "no music in %s\n", file.c_str());
        return 1;
    }
    for (platform::MidiHeader& header : player->buffers)
        if (platform::prepare_midi_header(header) != platform::MidiResult::Ok ||
            sequencer.queue(header) != platform::MidiResult::Ok)
            return 1;
    sequencer.restart();

    sdl::MusicSynth synth(queue_again);
    if (!load_first_soundfont(synth)) {
        std::fprintf(stderr, "no SoundFont that loads\n");
        return 1;
    }
    synth.finish_loading();
    // Blocks of the size the game's audio device asks for.
    constexpr int block_frames = 1024;
    std::vector<float> mix(block_frames * sdl::output_channels);
    const long blocks = static_cast<long>(seconds * sdl::output_rate / block_frames);
    int most_voices = 0;
    const double start = processor_seconds();
    for (long block = 0; block < blocks; ++block) {
        std::fill(mix.begin(), mix.end(), 0.0f);
        synth.play(sequencer, mix.data(), block_frames);
        most_voices = std::max(most_voices, synth.active_voices());
    }
    const double used = processor_seconds() - start;
    const double music = static_cast<double>(blocks * block_frames) / sdl::output_rate;
    std::printf("music rendered: %.1f s in %.3f s of processor time\n", music, used);
    std::printf("floor: %.5f s of processor time per second of music (%.2f %% of one core)\n",
                used / music, 100 * used / music);
    std::printf("most voices at once: %d\n", most_voices);
    sequencer.reset(synth);
    mids_close(player);
    return 0;
}
