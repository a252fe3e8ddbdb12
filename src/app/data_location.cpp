#include "app/data_location.h"

#include <array>
#include <string>
#include <system_error>

#include "app/high_scores.h"
#include "platform/user_paths.h"
#include "platform/utf8_path.h"

namespace {

// The archives the resource lookup reads and the music file.
constexpr std::array<const char*, 5> data_file_names = {"ONLY.ONE", "DATA.ONE", "AUDIO.ONE",
                                                        "VIDEO.ONE", "QMBLOKIT.MDS"};

// Whether the two paths name one directory, whatever links or ".." lead
// there.
bool same_directory(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code error_a;
    std::error_code error_b;
    const auto canonical_a = std::filesystem::canonical(a, error_a);
    const auto canonical_b = std::filesystem::canonical(b, error_b);
    return !error_a && !error_b && canonical_a == canonical_b;
}

// An installed game keeps its table in the user's data directory.
void keep_table_with_user_data() {
    const std::string user_data = platform::xdg_base_directory("XDG_DATA_HOME", ".local/share");
    if (user_data.empty())
        high_score_directory.reset();
    else
        high_score_directory = platform::utf8_path(user_data) / "blokit";
}

} // namespace

bool holds_game_data(const std::filesystem::path& directory) {
    for (const char* name : data_file_names) {
        std::error_code error;
        if (std::filesystem::is_regular_file(directory / name, error))
            return true;
    }
    return false;
}

void choose_data_location(const std::filesystem::path& program_directory,
                          const std::filesystem::path& data_from_program) {
    namespace fs = std::filesystem;
    const fs::path installed_data = program_directory / data_from_program;
    const bool data_apart = !same_directory(program_directory, installed_data);
    const bool in_installed_data = data_apart && same_directory(".", installed_data);
    if ((!holds_game_data(".") || in_installed_data) && holds_game_data(installed_data)) {
        std::error_code error;
        fs::current_path(installed_data, error);
        if (!error)
            keep_table_with_user_data();
    }
    // A system with one place for the table uses it wherever the game
    // started, so that there is only ever one table.
    const std::string own_files = platform::own_files_directory();
    if (!own_files.empty())
        high_score_directory = platform::utf8_path(own_files);
}
