#pragma once

// Opening the game's own files. A pipe or a device put where a file is
// expected would keep the game waiting for data that never comes (opening a
// pipe for reading waits for a writer), or feed it without end.

#include <cstdio>

namespace platform {

// Opens `path` with `mode` ("rb" or "r+b") when it is a regular file; null
// otherwise, with errno set (ENOENT when nothing is there, EINVAL for a
// pipe, a device or a directory).
std::FILE* open_regular_file(const char* path, const char* mode);

} // namespace platform
