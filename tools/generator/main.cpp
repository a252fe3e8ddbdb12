// blokit_generate: makes every data file of the game.
//
//   blokit_generate RUN_DIRECTORY [--png PREVIEW_DIRECTORY]
//
// writes DATA.ONE, AUDIO.ONE and QMBLOKIT.MDS into RUN_DIRECTORY and, with
// --png, every picture as a PNG file for looking at.

#include "data_set.h"
#include "game_palette.h"
#include "platform/png_writer.h"

#include <cstdio>
#include <string>

namespace {

bool write_previews(const std::string& directory) {
    const Palette palette = make_game_palette();
    std::uint8_t rgb[768];
    for (std::size_t i = 0; i < palette.size(); ++i) {
        rgb[i] = std::uint8_t(palette[i] * 4 + palette[i] / 16);
    }
    for (const NamedPicture& picture : make_pictures()) {
        const Canvas& c = picture.canvas;
        const std::string path = directory + "/" + picture.name + ".png";
        if (!platform::write_png_indexed(path, c.width, c.height, c.pixels.data(),
                                         std::size_t(c.width), rgb)) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2 && !(argc == 4 && std::string(argv[2]) == "--png")) {
        std::fprintf(stderr, "usage: %s RUN_DIRECTORY [--png PREVIEW_DIRECTORY]\n", argv[0]);
        return 2;
    }
    if (!write_run_directory(argv[1])) {
        return 1;
    }
    return argc == 4 && !write_previews(argv[3]) ? 1 : 0;
}
