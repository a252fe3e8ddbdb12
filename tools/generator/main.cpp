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
#include <filesystem>
#include <string>
#include <system_error>

namespace {

constexpr const char* usage = "usage: %s RUN_DIRECTORY [--png PREVIEW_DIRECTORY]\n";

// Output directories are made when missing, so a fresh path just works.
bool make_directory(const std::string& directory) {
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    if (error)
        std::fprintf(stderr, "cannot make %s: %s\n", directory.c_str(), error.message().c_str());
    return !error;
}

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
    if (argc == 2 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
        std::printf(usage, argv[0]);
        return 0;
    }
    if (argc != 2 && !(argc == 4 && std::string(argv[2]) == "--png")) {
        std::fprintf(stderr, usage, argv[0]);
        return 2;
    }
    if (!make_directory(argv[1]) || !write_run_directory(argv[1])) {
        return 1;
    }
    return argc == 4 && (!make_directory(argv[3]) || !write_previews(argv[3])) ? 1 : 0;
}
