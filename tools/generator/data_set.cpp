#include "data_set.h"

#include "effects.h"
#include "font_sheet.h"
#include "formats/pix_writer.h"
#include "game_palette.h"
#include "icon.h"
#include "music.h"
#include "pictures.h"
#include "scroll_text.h"
#include "tile_sheet.h"

#include <cstdio>

bool write_file(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
    }
    return written && closed;
}

std::vector<NamedPicture> make_pictures() {
    std::vector<NamedPicture> pictures;
    pictures.push_back({"QMLOGO.PIX", make_maker_logo()});
    pictures.push_back({"WERBEPIX.PIX", make_advert()});
    pictures.push_back({"TITELS.PIX", make_title_background()});
    pictures.push_back({"BLOKITS.PIX", make_title_logo()});
    pictures.push_back({"HINTERS.PIX", make_game_background()});
    pictures.push_back({"STEINES.PIX", make_tile_sheet()});
    pictures.push_back({"FONT2.PIX", make_font_sheet()});
    pictures.push_back({"ICON.PIX", make_icon(window_icon_size)});
    return pictures;
}

std::vector<ArchiveMember> make_data_members() {
    const Palette palette = make_game_palette();
    std::vector<ArchiveMember> members;
    for (const NamedPicture& picture : make_pictures()) {
        const Canvas& c = picture.canvas;
        members.push_back({picture.name, encode_pix(c.width, c.height, c.pixels, palette)});
    }
    const std::string text = make_scroll_text();
    members.push_back({"SCROLL.TXT", std::vector<std::uint8_t>(text.begin(), text.end())});
    return members;
}

std::vector<ArchiveMember> make_audio_members() {
    std::vector<ArchiveMember> members;
    for (int i = 0; i < sound_effect_count; ++i) {
        const auto effect = static_cast<SoundEffect>(i);
        members.push_back({effect_file_name(effect), encode_wave(make_effect(effect))});
    }
    return members;
}

std::vector<std::uint8_t> make_music_file() {
    return encode_mids(compose_music(), music_ticks_per_quarter);
}

bool write_run_directory(const std::string& directory) {
    const std::string base = directory + "/";
    return write_file(base + "DATA.ONE", build_archive(make_data_members())) &&
           write_file(base + "AUDIO.ONE", build_archive(make_audio_members())) &&
           write_file(base + "QMBLOKIT.MDS", make_music_file());
}
