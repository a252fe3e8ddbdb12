#pragma once

// The table of the ten best one-player results, kept in "HISCORE.DAT" (in the
// current directory unless the game runs installed), and the screen that shows it after a
// one-player game and takes the name of a result that enters it.

#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>

constexpr int high_score_count = 10;
// Characters a name may hold, its terminating zero included.
constexpr int name_limit = 30;

struct HighScoreEntry {
    std::int32_t score = 0;
    std::int32_t level = 0;
    std::int32_t rows = 0;
    // Zero-terminated, at most 29 characters; bytes after the terminator
    // have no meaning.
    std::array<char, name_limit> name{};
};

// File layout: ten entries of 42 bytes (score, level, rows as signed 32-bit
// little-endian, then the 30 name bytes) and a 32-bit little-endian checksum.
constexpr std::size_t high_score_entry_bytes = 42;
constexpr std::size_t high_score_table_bytes = high_score_count * high_score_entry_bytes;
constexpr std::size_t high_score_file_bytes = high_score_table_bytes + 4;
constexpr const char* high_score_file_name = "HISCORE.DAT";

// The directory HISCORE.DAT is kept in: empty for the current directory;
// none when there is nowhere to keep it, so the table lives in memory only.
extern std::optional<std::filesystem::path> high_score_directory;

// Ordered by score, highest first.
extern std::array<HighScoreEntry, high_score_count> high_scores;
// The row whose name is being typed, -1 when none.
extern int new_entry_row;
// Set while a key that the name entry has acted on may still be held.
extern bool name_key_latch;

// The whole screen after a one-player game: the table is loaded, the first
// player's result entered and named when it is good enough, the table shown
// until Escape, Return or Space, and written back.
void run_high_score_screen();

// Fills high_scores from the file. A missing file (or a directory of its
// name), or one whose checksum does not match, is replaced by the default
// table; a short file is used as far as it goes and the entries it does not
// cover keep their contents. A file the user may not read gets the default
// table in memory only.
void load_high_scores();
// Reads a table from the stream into high_scores; the entries a short file
// does not cover keep their contents. False when the stream holds a whole
// table whose checksum does not match.
bool read_high_scores(std::FILE* file);
// Writes the table and its checksum to the stream. False when not every
// byte could be written.
bool write_high_scores(std::FILE* file);
// Writes the table and its checksum to the file. The old file is replaced
// only once the new one is on the disk in full, keeps its permissions, and
// is not replaced at all when the user may not write it. False when nothing
// was saved.
bool save_high_scores();
// Saves a game's result without losing what another copy of the game saved
// since this one loaded the table: under the lock that such copies share,
// the file's table as it is now (the default table when there is none, as
// loading would make it) takes `entry` by the rule of insert_high_score,
// and is written back. The table in memory is then the one saved. False
// when nothing was saved.
bool save_high_score_entry(const std::optional<HighScoreEntry>& entry);

// Puts `entry` into the table below every entry with the same or a higher
// score; the last row drops out. Its row, or -1 when it does not beat the
// last row and the table stays as it was.
int insert_high_score(const HighScoreEntry& entry);

// Puts the first player's result into the table by insert_high_score and
// lets the player type its name until Return (or Start or A on a pad); the
// result with its name, none when it does not beat the last row.
std::optional<HighScoreEntry> enter_high_score();
// One poll of the name keys: A to Z and Space append, Backspace removes the
// last character; each press acts once. A name of limit - 1 characters takes
// nothing but Backspace.
void edit_name_step(char* name, int limit);

// The header and the ten rows, into the back buffer.
void draw_high_score_table();
// The row new_entry_row over its shaded band, into the back buffer.
void draw_edited_row();
