// The high-score file against arbitrary bytes: loading it, drawing every row
// and editing every name stay inside the table.

#include "app/high_scores.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// The file is read from the current directory: a scratch one of our own,
// entered only while an input is tried, so libFuzzer's own paths keep working.
// It lies in shared memory where there is some, so that the inputs cost no
// disk writes.
const std::string& scratch_directory() {
    static const std::string path = [] {
        std::error_code error;
        const fs::path base =
            fs::is_directory("/dev/shm", error) ? fs::path("/dev/shm") : fs::temp_directory_path();
        std::string pattern = (base / "blokit-fuzz-scores-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            std::abort();
        return pattern;
    }();
    return path;
}

void try_file(const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(high_score_file_name, "wb");
    if (!file)
        std::abort();
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    load_high_scores();
    draw_high_score_table();
    for (int row = 0; row < high_score_count; ++row) {
        new_entry_row = row;
        draw_edited_row();
        edit_name_step(high_scores[static_cast<std::size_t>(row)].name.data(), name_limit);
    }
    new_entry_row = -1;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const int previous = open(".", O_RDONLY | O_DIRECTORY);
    if (previous < 0 || chdir(scratch_directory().c_str()) != 0)
        std::abort();
    try_file(data, size);
    if (fchdir(previous) != 0)
        std::abort();
    close(previous);
    return 0;
}
