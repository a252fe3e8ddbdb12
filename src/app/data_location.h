#pragma once

// Where the game finds its data and keeps HISCORE.DAT. Started from a
// directory that holds the data (the build's run directory, an unpacked
// copy), the game reads and writes everything there. An installed game reads
// its data from the installed data directory, with the same lookup order
// inside it, and keeps HISCORE.DAT in the user's data directory.

#include <filesystem>

// Whether `directory` holds any of the game's data files.
bool holds_game_data(const std::filesystem::path& directory);

// The data of a game installed for the program in `program_directory` lies
// at `data_from_program` from it. When the current directory holds no data
// but that directory does, makes it the current directory and points the
// high-score table at $XDG_DATA_HOME/blokit (else ~/.local/share/blokit;
// nowhere without either). So too when the game is started from that
// directory itself, if it lies apart from the program: an installed game's
// data directory is never taken for a copy to be played where it lies.
// Where the system has one place for the game's own files
// (platform::own_files_directory), the table goes there in every case.
void choose_data_location(const std::filesystem::path& program_directory,
                          const std::filesystem::path& data_from_program);
