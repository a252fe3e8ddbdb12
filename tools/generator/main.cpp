// blokit_generate: makes every data file of the game.
//
//   blokit_generate RUN_DIRECTORY [--png PREVIEW_DIRECTORY] [--icons ICON_DIRECTORY]
//
// writes DATA.ONE, AUDIO.ONE and QMBLOKIT.MDS into RUN_DIRECTORY; with --png,
// every picture as a PNG file for looking at; with --icons, the program's
// icon in every size of the desktop's icon theme, as
// ICON_DIRECTORY/<size>x<size>/apps/blokit.png and scalable/apps/blokit.svg,
// and as the Windows icon file ICON_DIRECTORY/blokit.ico.

#include "data_set.h"
#include "game_palette.h"
#include "icon.h"
#include "icon_file.h"
#include "platform/png_writer.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace {

constexpr const char* usage =
    "usage: %s RUN_DIRECTORY [--png PREVIEW_DIRECTORY] [--icons ICON_DIRECTORY]\n";

struct Options {
    std::string run_directory;
    std::string preview_directory;
    std::string icon_directory;
};

// Output directories are made when missing, so a fresh path just works.
bool make_directory(const std::string& directory) {
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    if (error)
        std::fprintf(stderr, "cannot make %s: %s\n", directory.c_str(), error.message().c_str());
    return !error;
}

bool write_png(const std::string& path, const Canvas& c, int transparent) {
    if (!platform::write_png_indexed(path, c.width, c.height, c.pixels.data(), std::size_t(c.width),
                                     game_palette_rgb().data(), transparent)) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

bool write_previews(const std::string& directory) {
    if (!make_directory(directory))
        return false;
    for (const NamedPicture& picture : make_pictures())
        if (!write_png(directory + "/" + picture.name + ".png", picture.canvas, -1))
            return false;
    return true;
}

bool write_windows_icon(const std::string& directory) {
    std::vector<Canvas> pictures;
    for (int size : windows_icon_sizes)
        pictures.push_back(make_icon(size));
    return write_file(directory + "/blokit.ico",
                      make_icon_file(pictures, game_palette_rgb().data(), colours::transparent));
}

bool write_icons(const std::string& directory) {
    const std::string scalable = directory + "/scalable/apps";
    const std::string svg = make_scalable_icon();
    if (!make_directory(scalable) ||
        !write_file(scalable + "/blokit.svg", std::vector<std::uint8_t>(svg.begin(), svg.end())))
        return false;
    for (int size : icon_sizes) {
        const std::string folder =
            directory + "/" + std::to_string(size) + "x" + std::to_string(size) + "/apps";
        if (!make_directory(folder) ||
            !write_png(folder + "/blokit.png", make_icon(size), colours::transparent))
            return false;
    }
    return write_windows_icon(directory);
}

// False when the arguments make no sense.
bool parse(int argc, char** argv, Options& options) {
    if (argc < 2 || argc % 2 != 0)
        return false;
    options.run_directory = argv[1];
    for (int i = 2; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--png")
            options.preview_directory = argv[i + 1];
        else if (option == "--icons")
            options.icon_directory = argv[i + 1];
        else
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
        std::printf(usage, argv[0]);
        return 0;
    }
    Options options;
    if (!parse(argc, argv, options)) {
        std::fprintf(stderr, usage, argv[0]);
        return 2;
    }
    if (!make_directory(options.run_directory) || !write_run_directory(options.run_directory))
        return 1;
    if (!options.preview_directory.empty() && !write_previews(options.preview_directory))
        return 1;
    if (!options.icon_directory.empty() && !write_icons(options.icon_directory))
        return 1;
    return 0;
}
