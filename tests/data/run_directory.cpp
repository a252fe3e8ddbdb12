#include "data/run_directory.h"

#include <cstdio>

#include "res/picture_format.h"
#include "res/resource.h"

InRunDirectory::InRunDirectory() : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(BLOKIT_RUN_DIR);
}

InRunDirectory::~InRunDirectory() {
    std::filesystem::current_path(previous_);
}

Image load_pix_resource(const char* name) {
    Image image;
    std::FILE* stream = open_resource(name);
    if (stream == nullptr) {
        return image;
    }
    const std::vector<std::uint8_t> bytes = read_resource(stream, resource_size);
    std::fclose(stream);
    decode_picture(picture_format_of(name), bytes, DisplayFormat{}, image);
    return image;
}
