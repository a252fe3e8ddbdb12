// Directory listings through the system's file search.

#include "platform/directory.h"
#include "platform/win32/backend.h"

namespace platform {

struct DirectorySearch {
    HANDLE handle;
};

namespace {

// A link to a directory (a reparse point) is not followed into.
void take_entry(const WIN32_FIND_DATAA& found, DirectoryEntry& entry) {
    entry.name = found.cFileName;
    entry.is_directory = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
                         (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
}

} // namespace

DirectorySearch* find_first_entry(const std::string& directory, DirectoryEntry& entry) {
    std::string pattern = directory;
    if (!pattern.empty() && pattern.back() != '\\' && pattern.back() != '/')
        pattern += '\\';
    pattern += '*';
    WIN32_FIND_DATAA found;
    const HANDLE handle = FindFirstFileA(pattern.c_str(), &found);
    if (handle == INVALID_HANDLE_VALUE)
        return nullptr;
    take_entry(found, entry);
    return new DirectorySearch{handle};
}

bool find_next_entry(DirectorySearch* search, DirectoryEntry& entry) {
    WIN32_FIND_DATAA found;
    if (!FindNextFileA(search->handle, &found))
        return false;
    take_entry(found, entry);
    return true;
}

void find_close(DirectorySearch* search) {
    FindClose(search->handle);
    delete search;
}

} // namespace platform
