#pragma once

// Making a finished file survive a power loss: the data of a file written
// under a temporary name reaches the disk before the file is renamed into
// place, and the rename itself once it is done.

#include <cstdio>

namespace platform {

// Writes what `file` still buffers and waits until the disk holds all of it.
// False when either step failed.
bool sync_file(std::FILE* file);

// Waits until the directory that holds `path` (the current directory for a
// bare name) has its latest changes, such as a rename, on the disk.
bool sync_directory_of(const char* path);

} // namespace platform
