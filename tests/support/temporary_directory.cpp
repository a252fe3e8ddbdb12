#include "support/temporary_directory.h"

#include <cstdlib>
#include <stdexcept>
#include <string>

std::filesystem::path make_temporary_directory(const char* prefix) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / (std::string(prefix) + "-XXXXXX")).string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot make a temporary directory for " + std::string(prefix));
    return pattern;
}
