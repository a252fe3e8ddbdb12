#pragma once

#include "canvas.h"
#include "formats/archive_writer.h"

#include <string>
#include <vector>

// A picture of the game under the name it is loaded by.
struct NamedPicture {
    std::string name;
    Canvas canvas;
};

std::vector<NamedPicture> make_pictures();

// The members of "DATA.ONE" (pictures and the scroller text) and of
// "AUDIO.ONE" (the sound effects), and the music file "QMBLOKIT.MDS".
std::vector<ArchiveMember> make_data_members();
std::vector<ArchiveMember> make_audio_members();
std::vector<std::uint8_t> make_music_file();

// Writes `bytes` to the file `path`. Returns false, with a message on stderr,
// when the file cannot be written.
bool write_file(const std::string& path, const std::vector<std::uint8_t>& bytes);

// Writes "DATA.ONE", "AUDIO.ONE" and "QMBLOKIT.MDS" into `directory`.
// Returns false, with a message on stderr, when a file cannot be written.
bool write_run_directory(const std::string& directory);
