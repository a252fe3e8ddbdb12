#pragma once

#include <string>

namespace platform {

// One entry of a directory listing. Like the system's own listing it includes "." and "..".
// A symbolic link is reported as what it is, not as the directory it may point to, so a walk
// over the tree never loops.
struct DirectoryEntry {
    std::string name;
    bool is_directory = false;
};

// An open listing of one directory (the role of a find handle).
struct DirectorySearch;

// Starts listing `directory` and fills `entry` with its first entry. Returns null when the
// directory cannot be read or is empty.
DirectorySearch* find_first_entry(const std::string& directory, DirectoryEntry& entry);

// Fills `entry` with the next entry; false when there is none left.
bool find_next_entry(DirectorySearch* search, DirectoryEntry& entry);

// Ends a listing started by find_first_entry.
void find_close(DirectorySearch* search);

} // namespace platform
