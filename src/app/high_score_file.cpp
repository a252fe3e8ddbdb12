#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>

#include "app/high_scores.h"
#include "game/session.h"
#include "platform/file_sync.h"
#include "platform/regular_file.h"
#include "platform/utf8_path.h"
#include "res/byte_order.h"

std::optional<std::filesystem::path> high_score_directory = std::filesystem::path();

namespace {

namespace fs = std::filesystem;

using FileBytes = std::array<std::uint8_t, high_score_file_bytes>;

// A new table is written under this name first and renamed over the old
// file only when it is complete, so a failed write leaves the old file.
constexpr const char* new_file_name = "HISCORE.NEW";

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

// A file that exists is replaced only when this user could open it for
// writing, as writing over it in place would need.
bool may_replace_high_score_file() {
    std::FILE* file = platform::open_regular_file(
        platform::utf8_text(high_score_path(high_score_file_name)).c_str(), "r+b");
    if (!file)
        return errno == ENOENT;
    std::fclose(file);
    return true;
}

// The new file takes the permissions of the one it replaces, so replacing
// changes no more than writing over it would.
bool keep_permissions(const fs::path& new_file) {
    std::error_code error;
    const fs::file_status old_file = fs::status(high_score_path(high_score_file_name), error);
    if (!fs::exists(old_file))
        return true;
    fs::permissions(new_file, old_file.permissions(), error);
    return !error;
}

// Writes a new high-score file with `write` and puts it in place of the old.
// The new file is on the disk before the rename and the rename after it, so
// a power loss leaves either the old table or the new one.
bool replace_high_score_file(bool (*write)(std::FILE*)) {
    if (!high_score_directory || !make_high_score_directory() || !may_replace_high_score_file())
        return false;
    const fs::path new_file = high_score_path(new_file_name);
    std::FILE* file = std::fopen(platform::utf8_text(new_file).c_str(), "wb");
    if (!file)
        return false;
    const bool written = write(file) && platform::sync_file(file) && keep_permissions(new_file);
    const bool closed = std::fclose(file) == 0;
    std::error_code error;
    if (written && closed) {
        const fs::path old_file = high_score_path(high_score_file_name);
        fs::rename(new_file, old_file, error);
        if (!error) {
            platform::sync_directory_of(platform::utf8_text(old_file).c_str());
            return true;
        }
    }
    fs::remove(new_file, error);
    return false;
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

bool write_high_scores(std::FILE* file) {
    const FileBytes bytes = encode_file();
    return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
}

void load_high_scores() {
    const Stored stored = read_high_score_file();
    if (stored == Stored::Table)
        return;
    if (stored == Stored::Protected || !replace_high_score_file(write_default_high_scores))
        set_default_high_scores();
}

bool write_default_high_scores(std::FILE* file) {
    set_default_high_scores();
    return write_high_scores(file);
}

bool save_high_scores() {
    return replace_high_score_file(write_high_scores);
}
