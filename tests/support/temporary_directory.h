#pragma once

#include <filesystem>

// Makes a new, empty, uniquely named directory under the system's temporary
// directory, named after `prefix`; throws when it cannot.
std::filesystem::path make_temporary_directory(const char* prefix);
