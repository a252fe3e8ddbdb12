// Plays the music looping for a number of seconds and triggers the effects
// one after another, through the game's own audio code and the SDL backend.
// Without a directory argument it first writes a test tune and seven test
// tones into a scratch directory. Reports the audio thread's share of a
// processor and the resident memory at start, with the effects loaded and with
// the music playing.
//
//   SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=out.raw blokit-audio-render 12 [DIR]

#include "audio/music.h"
#include "audio/sound_effects.h"
#include "formats/riff_builder.h"
#include "platform/clock.h"

#include <SDL.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

void write_file(const fs::path& path, const riff::Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

// A new directory of its own under the system's temporary directory, holding
// the test tune and effects.
fs::path write_test_files() {
    std::string pattern = (fs::temp_directory_path() / "blokit-audio-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        return {};
    const fs::path directory = pattern;
    write_file(directory / music_file_name, riff::melody());
    const char* names[] = {"WURF.WAV",  "REIHEN.WAV", "VIERER.WAV", "GAMEOVER.WAV",
                           "START.WAV", "LACH.WAV",   "TSCHAU.WAV"};
    double frequency = 330;
    for (const char* name : names) {
        write_file(directory / name,
                   riff::wave_file(riff::pcm_format(1, 22050, 16),
                                   riff::tone_samples(22050, 300, frequency, 0.6)));
        frequency *= 1.25;
    }
    return directory;
}

long resident_kilobytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

// Processor seconds used so far by SDL's audio threads.
double audio_thread_seconds() {
    double seconds = 0;
    for (const auto& task : fs::directory_iterator("/proc/self/task")) {
        std::string name;
        std::getline(std::ifstream(task.path() / "comm"), name);
        if (name.rfind("SDLAudio", 0) != 0)
            continue;
        std::string stat;
        std::getline(std::ifstream(task.path() / "stat"), stat);
        // Fields after the name in parentheses: state is field 3, utime 14, stime 15.
        std::istringstream fields(stat.substr(stat.rfind(')') + 2));
        std::string field;
        unsigned long long ticks = 0;
        for (int i = 3; i <= 15 && fields >> field; ++i)
            if (i >= 14)
                ticks += std::stoull(field);
        seconds += static_cast<double>(ticks) / static_cast<double>(sysconf(_SC_CLK_TCK));
    }
    return seconds;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s SECONDS [DIRECTORY]\n", argv[0]);
        return 2;
    }
    const double seconds = std::atof(argv[1]);
    const fs::path directory = argc > 2 ? fs::path(argv[2]) : write_test_files();
    if (directory.empty()) {
        std::fprintf(stderr, "no directory for the test files\n");
        return 1;
    }
    fs::current_path(directory);

    const long at_start = resident_kilobytes();
    if (!load_sound_effects())
        std::fprintf(stderr, "no sound device\n");
    const long before = resident_kilobytes();
    if (!music_start(music_file_name, true)) {
        std::fprintf(stderr, "the music did not start\n");
        return 1;
    }
    const long with_music = resident_kilobytes();
    const double cpu_start = audio_thread_seconds();
    const auto start = std::chrono::steady_clock::now();
    int next_effect = 0;
    for (double elapsed = 0; elapsed < seconds;) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        play_effect(static_cast<SoundEffect>(next_effect));
        next_effect = (next_effect + 1) % sound_effect_count;
        elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double cpu = audio_thread_seconds() - cpu_start;
    music_stop();
    release_sound_effects();
    std::printf("played %.1f s\naudio thread: %.3f s of processor time, %.2f %% of one core\n",
                wall, cpu, 100 * cpu / wall);
    std::printf("resident memory: %ld kB at start, %ld kB with the effects loaded, %ld kB with "
                "the music playing (+%ld kB)\n",
                at_start, before, with_music, with_music - before);
    if (argc <= 2)
        fs::remove_all(directory);
    return 0;
}
