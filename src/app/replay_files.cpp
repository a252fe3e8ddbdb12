#include "app/replay_files.h"

#include <algorithm>
#include <cstdio>
#include <span>
#include <string>
#include <system_error>

#include "app/high_scores.h"
#include "game/player.h"
#include "platform/regular_file.h"
#include "platform/replace_file.h"
#include "platform/user_paths.h"
#include "platform/utf8_path.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* replay_extension = ".bkr";
// Far more than hours of play take (an entry is a few bytes per key press).
constexpr std::size_t largest_replay_bytes = 64u << 20;

// A replay file's name: its number, and for a one-player game the result
// that the high-score table would show, "000042-1234-45-9.bkr".
struct ReplayName {
    unsigned number = 0;
    bool has_result = false;
    HighScoreEntry result;
};

std::optional<ReplayName> parse_replay_name(const std::string& name) {
    ReplayName parsed;
    int length = 0;
    if (std::sscanf(name.c_str(), "%u-%d-%d-%d.bkr%n", &parsed.number, &parsed.result.score,
                    &parsed.result.rows, &parsed.result.level, &length) == 4 &&
        std::size_t(length) == name.size()) {
        parsed.has_result = true;
        return parsed;
    }
    if (std::sscanf(name.c_str(), "%u.bkr%n", &parsed.number, &length) == 1 &&
        std::size_t(length) == name.size())
        return parsed;
    return std::nullopt;
}

std::string replay_file_name(unsigned number) {
    char name[64];
    if (player_count == 1)
        std::snprintf(name, sizeof name, "%06u-%d-%d-%d%s", number, players[0].score,
                      players[0].rows, players[0].level, replay_extension);
    else
        std::snprintf(name, sizeof name, "%06u%s", number, replay_extension);
    return name;
}

struct StoredReplay {
    fs::path path;
    ReplayName name;
};

// The replays in `directory`, newest (highest number) first.
std::vector<StoredReplay> stored_replays(const fs::path& directory) {
    std::vector<StoredReplay> found;
    std::error_code error;
    for (fs::directory_iterator it(directory, error), end; !error && it != end; it.increment(error))
        if (const auto name = parse_replay_name(it->path().filename().string()))
            found.push_back({it->path(), *name});
    std::sort(found.begin(), found.end(), [](const StoredReplay& a, const StoredReplay& b) {
        return a.name.number > b.name.number;
    });
    return found;
}

bool stands_in_table(const ReplayName& name) {
    return name.has_result &&
           std::any_of(high_scores.begin(), high_scores.end(), [&](const HighScoreEntry& entry) {
               return entry.score == name.result.score && entry.rows == name.result.rows &&
                      entry.level == name.result.level;
           });
}

void remove_replays_not_kept(const std::vector<StoredReplay>& replays) {
    for (std::size_t i = replays_kept; i < replays.size(); ++i)
        if (!stands_in_table(replays[i].name)) {
            std::error_code error;
            fs::remove(replays[i].path, error);
        }
}

} // namespace

std::optional<fs::path> replay_directory() {
    if (!high_score_directory)
        return std::nullopt;
    return *high_score_directory / platform::replay_folder_name();
}

void save_replay(const Replay& replay) {
    const std::optional<fs::path> directory = replay_directory();
    if (!directory)
        return;
    std::vector<StoredReplay> replays = stored_replays(*directory);
    const unsigned number = replays.empty() ? 1 : replays.front().name.number + 1;
    const std::vector<std::uint8_t> bytes = encode_replay(replay);
    if (!platform::replace_file(*directory / replay_file_name(number),
                                std::as_bytes(std::span(bytes))))
        return;
    replays = stored_replays(*directory);
    if (replays.size() <= std::size_t(replays_kept))
        return;
    load_high_scores();
    remove_replays_not_kept(replays);
}

std::optional<std::vector<std::uint8_t>> read_replay_file(const fs::path& path) {
    std::FILE* file = platform::open_regular_file(platform::utf8_text(path).c_str(), "rb");
    if (!file)
        return std::nullopt;
    std::vector<std::uint8_t> bytes;
    std::uint8_t block[65536];
    std::size_t read = 0;
    while (bytes.size() <= largest_replay_bytes &&
           (read = std::fread(block, 1, sizeof block, file)) > 0)
        bytes.insert(bytes.end(), block, block + read);
    const bool whole = !std::ferror(file) && bytes.size() <= largest_replay_bytes;
    std::fclose(file);
    if (!whole)
        return std::nullopt;
    return bytes;
}
