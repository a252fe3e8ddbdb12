#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

// Finding the game's data files by bare name: a loose file in the current directory, a member
// of "ONLY.ONE", "DATA.ONE", "AUDIO.ONE" or "VIDEO.ONE", or a file anywhere below the current
// directory, in that order.

// Where the member last opened starts in its file (0 for a loose file or when nothing was
// found) and how long it is (the file length for a loose file; 0 when nothing was found).
extern std::uint32_t resource_base;
extern std::uint32_t resource_size;

// Set by find_file_in_tree when it finds the name; stops every level of the search.
extern bool tree_search_found;

// Size of the name buffer of find_file_in_tree; paths are at most one byte shorter.
inline constexpr std::size_t resource_path_size = 1024;

// Opens `name` for reading in binary mode, positioned at its first byte, and sets
// resource_base and resource_size. Null when the name is found nowhere. The caller closes
// the stream (for an archive member that closes the archive).
std::FILE* open_resource(const char* name);

// Looks `wanted` up in the archive file `archive_name`; the stream is positioned at the
// member. Null (and both lookup values 0) when the archive is missing, not an archive, or
// has no sound entry of that name.
std::FILE* find_archive_member(const char* archive_name, const char* wanted);
// The same lookup in an archive stream already open in binary mode, at any position; on a
// match the stream is positioned at the member. The stream stays open either way.
bool seek_archive_member(std::FILE* archive, const char* wanted);

// Searches `directory` and everything below it, depth first, for a file named like the
// text in `name` (a buffer of resource_path_size bytes). On success `name` holds the path
// of the file found and tree_search_found is set.
void find_file_in_tree(const char* directory, char* name);

// Reads at most `size` bytes (for the resource just opened, resource_size) from the stream's
// position. Fewer come back when the file is shorter than it claims.
std::vector<std::uint8_t> read_resource(std::FILE* stream, std::uint32_t size);
