#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <span>
#include <system_error>

#include "app/high_scores.h"
#include "game/session.h"
#include "platform/file_lock.h"
#include "platform/regular_file.h"
#include "platform/replace_file.h"
#include "platform/utf8_path.h"
#include "res/byte_order.h"

std::optional<std::filesystem::path> high_score_directory = std::filesystem::path();

namespace {

namespace fs = std::filesystem;

using FileBytes = std::array<std::uint8_t, high_score_file_bytes>;

// Copies of the game that save at the same time take turns on this file
// beside the table.
constexpr const char* lock_file_name = "HISCORE.LCK";

// The table before anyone has played: 1000 points down to 550.
constexpr std::int32_t default_top_score = 1000;
constexpr std::int32_t default_score_step = 50;

// Where the fields of an entry lie within its bytes.
constexpr std::size_t score_field = 0;
constexpr std::size_t level_field = 4;
constexpr std::size_t rows_field = 8;
constexpr std::size_t name_field = 12;

// The path of `name` in the high-score directory.
std::filesystem::path high_score_path(const char* name) {
    return *high_score_directory / name;
}

// Makes the high-score directory when it is missing; false when it cannot be.
bool make_high_score_directory() {
    if (high_score_directory->empty())
        return true;
    std::error_code error;
    if (std::filesystem::create_directories(*high_score_directory, error))
        std::filesystem::permissions(*high_score_directory, std::filesystem::perms::owner_all,
                                     error);
    return !error;
}

void write_u32le(std::uint8_t* p, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// In unsigned arithmetic: any stored score may be there.
std::uint32_t table_checksum() {
    std::uint32_t sum = 0;
    for (const HighScoreEntry& entry : high_scores)
        sum += static_cast<std::uint32_t>(entry.score) + static_cast<unsigned char>(entry.name[0]);
    return sum;
}

FileBytes encode_file() {
    FileBytes bytes{};
    std::uint8_t* p = bytes.data();
    for (const HighScoreEntry& entry : high_scores) {
        write_u32le(p + score_field, static_cast<std::uint32_t>(entry.score));
        write_u32le(p + level_field, static_cast<std::uint32_t>(entry.level));
        write_u32le(p + rows_field, static_cast<std::uint32_t>(entry.rows));
        std::copy(entry.name.begin(), entry.name.end(), p + name_field);
        p += high_score_entry_bytes;
    }
    write_u32le(p, table_checksum());
    return bytes;
}

// A name from the file keeps at most 29 characters, so it always ends within
// its 30 bytes.
void decode_table(const FileBytes& bytes) {
    const std::uint8_t* p = bytes.data();
    for (HighScoreEntry& entry : high_scores) {
        entry.score = read_i32le(p + score_field);
        entry.level = read_i32le(p + level_field);
        entry.rows = read_i32le(p + rows_field);
        std::copy_n(p + name_field, name_limit, entry.name.begin());
        entry.name.back() = '\0';
        p += high_score_entry_bytes;
    }
}

// What reading the high-score file found.
enum class Stored {
    Table,       // a table, used as read
    Replaceable, // nothing usable: missing, not a file, or a wrong checksum
    Protected,   // a file this user may not read, or a pipe or device: left alone
};

// The bytes a short file does not cover keep the table's contents. A
// directory of that name holds no table and is taken as a missing file.
Stored read_high_score_file() {
    if (!high_score_directory)
        return Stored::Replaceable;
    const fs::path path = high_score_path(high_score_file_name);
    std::error_code error;
    if (fs::is_directory(path, error))
        return Stored::Replaceable;
    std::FILE* file = platform::open_regular_file(platform::utf8_text(path).c_str(), "rb");
    if (!file)
        return errno == ENOENT ? Stored::Replaceable : Stored::Protected;
    const bool matches = read_high_scores(file);
    std::fclose(file);
    return matches ? Stored::Table : Stored::Replaceable;
}

// Puts the table `bytes` in place of the high-score file.
bool replace_high_score_file(const FileBytes& bytes) {
    return high_score_directory && make_high_score_directory() &&
           platform::replace_file(high_score_path(high_score_file_name),
                                  std::as_bytes(std::span(bytes)));
}

// Held while a copy of the game reads the file and writes it back. Without a
// place for the table there is nothing to guard, and no lock file is made.
std::optional<platform::FileLock> lock_high_score_file() {
    if (!high_score_directory || !make_high_score_directory())
        return std::nullopt;
    return std::optional<platform::FileLock>(std::in_place, high_score_path(lock_file_name));
}

void set_default_high_scores() {
    const char* name = use_english ? "NOONE" : "NIEMAND";
    for (int i = 0; i < high_score_count; ++i) {
        HighScoreEntry& entry = high_scores[static_cast<std::size_t>(i)];
        entry = HighScoreEntry{};
        entry.score = default_top_score - default_score_step * i;
        std::copy_n(name, std::char_traits<char>::length(name), entry.name.begin());
    }
}

} // namespace

bool read_high_scores(std::FILE* file) {
    FileBytes bytes = encode_file();
    const std::size_t read = std::fread(bytes.data(), 1, bytes.size(), file);
    decode_table(bytes);
    return read < bytes.size() ||
           read_u32le(bytes.data() + high_score_table_bytes) == table_checksum();
}

int insert_high_score(const HighScoreEntry& entry) {
    const auto row =
        std::find_if(high_scores.begin(), high_scores.end(),
                     [&entry](const HighScoreEntry& e) { return e.score < entry.score; });
    if (row == high_scores.end())
        return -1;
    std::move_backward(row, high_scores.end() - 1, high_scores.end());
    *row = entry;
    return static_cast<int>(row - high_scores.begin());
}

bool write_high_scores(std::FILE* file) {
    const FileBytes bytes = encode_file();
    return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
}

void load_high_scores() {
    const auto lock = lock_high_score_file();
    const Stored stored = read_high_score_file();
    if (stored == Stored::Table)
        return;
    set_default_high_scores();
    if (stored == Stored::Replaceable)
        replace_high_score_file(encode_file());
}

bool save_high_scores() {
    return replace_high_score_file(encode_file());
}

bool save_high_score_entry(const std::optional<HighScoreEntry>& entry) {
    if (!high_score_directory)
        return false;
    const auto lock = lock_high_score_file();
    set_default_high_scores();
    if (read_high_score_file() == Stored::Protected)
        return false;
    if (entry)
        insert_high_score(*entry);
    return save_high_scores();
}
