#include "game/music_key.h"

#include "audio/music.h"
#include "game/session.h"

namespace {

constexpr int music_key = 'M';
// Armed once M is seen up, so that a key held from before acts on nothing.
bool music_key_armed = false;

} // namespace

void check_music_key() {
    if (!key_down(music_key)) {
        music_key_armed = true;
        return;
    }
    if (!music_key_armed)
        return;
    music_key_armed = false;
    switch_music(!music_on);
}
