#pragma once

// Replacing a file in one step, so that a reader finds the old file or the
// new one, never a part of either.

#include <cstddef>
#include <filesystem>
#include <span>

namespace platform {

// Writes `bytes` beside `path` under a temporary name, with the folders above
// it when they are missing, and puts that in place of `path` once it is on
// the disk. A file already there is replaced only when this user could open
// it for writing, as writing over it would need, and the new file keeps its
// permissions. False when nothing was replaced; the old file then stays.
bool replace_file(const std::filesystem::path& path, std::span<const std::byte> bytes);

} // namespace platform
