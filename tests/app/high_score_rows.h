#pragma once

// The high-score file as the tests build it: rows, their checksum and the
// 424 bytes of a file.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "app/high_scores.h"
#include "app/screen_fixture.h"

struct Row {
    std::int32_t score;
    std::int32_t level;
    std::int32_t rows;
    std::string name; // up to 30 bytes, stored zero-padded
};

inline void put_u32(Bytes& bytes, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

inline std::uint32_t checksum_of(const std::vector<Row>& rows) {
    std::uint32_t sum = 0;
    for (const Row& row : rows)
        sum += static_cast<std::uint32_t>(row.score) +
               (row.name.empty() ? 0u : static_cast<unsigned char>(row.name[0]));
    return sum;
}

// The 420 table bytes of `rows` and the checksum `checksum`.
inline Bytes file_bytes(const std::vector<Row>& rows, std::uint32_t checksum) {
    Bytes bytes;
    for (const Row& row : rows) {
        put_u32(bytes, static_cast<std::uint32_t>(row.score));
        put_u32(bytes, static_cast<std::uint32_t>(row.level));
        put_u32(bytes, static_cast<std::uint32_t>(row.rows));
        std::string name = row.name;
        name.resize(30, '\0');
        bytes.insert(bytes.end(), name.begin(), name.end());
    }
    put_u32(bytes, checksum);
    return bytes;
}

inline Bytes file_bytes(const std::vector<Row>& rows) {
    return file_bytes(rows, checksum_of(rows));
}

inline std::vector<Row> default_rows(const char* name) {
    std::vector<Row> rows;
    for (int i = 0; i < 10; ++i)
        rows.push_back({1000 - 50 * i, 0, 0, name});
    return rows;
}

inline std::vector<Row> sample_rows() {
    std::vector<Row> rows;
    for (int i = 0; i < 10; ++i)
        rows.push_back({9000 - 700 * i, 18 - i, 90 - 7 * i, std::string(1, char('A' + i)) + "BEL"});
    return rows;
}

inline std::uint32_t stored_checksum(const Bytes& file) {
    return std::uint32_t(file[420]) | std::uint32_t(file[421]) << 8 |
           std::uint32_t(file[422]) << 16 | std::uint32_t(file[423]) << 24;
}

inline void expect_table(const std::vector<Row>& rows) {
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE("row " + std::to_string(i));
        EXPECT_EQ(high_scores[i].score, rows[i].score);
        EXPECT_EQ(high_scores[i].level, rows[i].level);
        EXPECT_EQ(high_scores[i].rows, rows[i].rows);
        EXPECT_STREQ(high_scores[i].name.data(), rows[i].name.c_str());
    }
}

// A result as a game leaves it, to be named `name`.
inline HighScoreEntry result(std::int32_t score, const std::string& name) {
    HighScoreEntry entry{score, 1, 2, {}};
    name.copy(entry.name.data(), entry.name.size() - 1);
    return entry;
}

// Whether a new table written under a temporary name beside the file was
// left behind.
inline bool temporary_file_left() {
    for (const auto& file : std::filesystem::directory_iterator("."))
        if (file.path().filename().string().rfind("HISCORE.DAT.", 0) == 0)
            return true;
    return false;
}
