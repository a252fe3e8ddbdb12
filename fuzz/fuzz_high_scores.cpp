// The high-score file against arbitrary bytes: the table read from it is
// drawn and a name edited inside the table, and saved it reads back as
// itself with a matching checksum. The files are streams in memory, so that
// every input costs the parsing and no system calls.

#include "app/high_scores.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Reads the table from `bytes`; whether its checksum matched.
bool read_table(const void* bytes, std::size_t size) {
    // Opened for reading only: the stream never writes to the bytes.
    std::FILE* file = fmemopen(const_cast<void*>(bytes), size, "rb");
    // A buffer of our own, large enough for the file: the stream allocates
    // none and reads the file in one step.
    char buffer[high_score_file_bytes];
    if (!file || std::setvbuf(file, buffer, _IOFBF, sizeof buffer) != 0)
        std::abort();
    const bool matches = read_high_scores(file);
    std::fclose(file);
    return matches;
}

// Saved, the table reads back with a matching checksum, and saved again it
// gives the same bytes.
void check_saved_table() {
    char* bytes = nullptr;
    std::size_t size = 0;
    std::FILE* file = open_memstream(&bytes, &size);
    if (!file || !write_high_scores(file) || std::fflush(file) != 0 || !read_table(bytes, size) ||
        !write_high_scores(file) || std::fclose(file) != 0 || size != 2 * high_score_file_bytes ||
        std::memcmp(bytes, bytes + high_score_file_bytes, high_score_file_bytes) != 0)
        std::abort();
    std::free(bytes);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // An empty table first, so that what a short file leaves is the same for
    // every input. A table whose checksum does not match is kept too: the
    // game would show the defaults instead, but drawing what was read tries
    // more.
    high_scores = {};
    read_table(data, size);

    draw_high_score_table();
    // A row that changes with the input.
    new_entry_row = static_cast<int>(size % high_score_count);
    draw_edited_row();
    edit_name_step(high_scores[static_cast<std::size_t>(new_entry_row)].name.data(), name_limit);
    new_entry_row = -1;

    check_saved_table();
    return 0;
}
