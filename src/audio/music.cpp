#include "audio/music.h"

#include "audio/mids_player.h"

#include <memory>

namespace {

struct Music {
    MidsPlayer* player = nullptr;
    bool playing = false;
};

std::unique_ptr<Music> music;

} // namespace

bool music_on = true;

bool music_start(const char* file_name, bool play) {
    music_stop();
    music = std::make_unique<Music>();
    if (mids_open(music->player, file_name, 0, mids_source_file) != MidsResult::Ok) {
        music.reset();
        return false;
    }
    if (play) {
        if (mids_play(music->player, mids_play_loop) != MidsResult::Ok) {
            mids_close(music->player);
            music.reset();
            return false;
        }
        music->playing = true;
    }
    return true;
}

void music_stop() {
    if (!music)
        return;
    mids_stop(music->player);
    mids_close(music->player);
    music.reset();
}

void switch_music(bool on) {
    music_on = on;
    if (!music || music->playing == on)
        return;
    const MidsResult result =
        on ? mids_play(music->player, mids_play_loop) : mids_pause(music->player);
    if (result == MidsResult::Ok)
        music->playing = on;
}
