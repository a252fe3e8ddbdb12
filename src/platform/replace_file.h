#pragma once

// Replacing a file in one step, so that a reader finds the old file or the
// new one, never a part of either.

#include <cstddef>
#include <initializer_list>
#include <span>
#include <string>

namespace platform {

// Writes `parts`, one after another, beside `file` under a temporary name,
// with the folders above it when they are missing, and renames it over
// `file` once it is on the disk. False when that failed; the old file stays.
bool replace_file(const std::string& file, std::initializer_list<std::span<const std::byte>> parts);

} // namespace platform
