// Makes the music's round ahead of time, so that even a player's first game
// plays it from a file instead of synthesising it: plays the music of
// DATA_DIR through the game's own audio code, as fast as the machine
// allows, until the round is recorded and saved, and puts it at OUT,
// readable by every user. Run when the game is built and installed.
//
//   blokit-music-round OUT DATA_DIR

#include "audio/music.h"
#include "platform/sdl/saved_round.h"
#include "platform/sdl/soundfont.h"

#include <SDL.h>
#include <fluidsynth.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// The music comes round after about 86 s; played faster than that, it takes
// a few seconds.
constexpr auto longest_wait = 300s;

bool wait_for(const fs::path& file) {
    const auto give_up = std::chrono::steady_clock::now() + longest_wait;
    std::error_code error;
    while (!fs::exists(file, error)) {
        if (std::chrono::steady_clock::now() > give_up)
            return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

// Whether a SoundFont the game would try is one. Without one the game plays
// the music silently, and no round would ever be recorded.
bool any_soundfont() {
    const std::vector<std::string> candidates = sdl::existing_soundfonts();
    return std::any_of(candidates.begin(), candidates.end(), [](const std::string& path) {
        return fluid_is_soundfont(path.c_str()) != 0;
    });
}

// Plays the music from the scratch directory, where no round made before is
// found in its place: the round is made anew, and saved in the cache.
bool make_round(const fs::path& music, const fs::path& scratch) {
    std::error_code error;
    fs::current_path(scratch, error);
    if (error || !music_start(music.c_str(), true))
        return false;
    const bool saved = wait_for(sdl::saved_round_path());
    music_stop();
    return saved;
}

// Makes the round readable by every user and renames it to `out`.
bool put_in_place(const fs::path& made, const fs::path& out) {
    std::error_code error;
    fs::permissions(made,
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                        fs::perms::others_read,
                    error);
    if (!error)
        fs::rename(made, out, error);
    return !error;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s OUT DATA_DIR\n", argv[0]);
        return 2;
    }
    if (!any_soundfont()) {
        // Nothing to make: the game plays the music silently, as it does then.
        std::fprintf(stderr, "%s: no SoundFont that loads, so no round of the music\n", argv[0]);
        return 0;
    }
    // The music is played from the scratch directory: paths must not depend
    // on the current one.
    std::error_code error;
    const fs::path out = fs::absolute(argv[1], error);
    const fs::path data_directory = fs::absolute(argv[2], error);
    fs::create_directories(out.parent_path(), error);
    // The game saves the round in its cache; this one is a scratch directory
    // beside OUT, so that the round is renamed into place in one step. It
    // cannot be made where OUT's directory could not be.
    std::string scratch = (out.parent_path() / ".music-round-XXXXXX").string();
    if (mkdtemp(scratch.data()) == nullptr) {
        std::fprintf(stderr, "%s: cannot make a directory beside %s\n", argv[0], argv[1]);
        return 1;
    }
    setenv("XDG_CACHE_HOME", scratch.c_str(), 1);
    // No sound device: SDL's disk driver writes nowhere and waits for nothing.
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
    setenv("SDL_DISKAUDIODELAY", "0", 1);
    // SDL warns at the top of its voice that the disk driver is in use.
    SDL_LogSetOutputFunction([](void*, int, SDL_LogPriority, const char*) {}, nullptr);

    const bool done = make_round(data_directory / music_file_name, scratch) &&
                      put_in_place(sdl::saved_round_path(), out);
    fs::remove_all(scratch, error);
    if (!done) {
        std::fprintf(stderr, "%s: no round of the music of %s was made\n", argv[0], argv[2]);
        return 1;
    }
    return 0;
}
