// Replacing a file in one step on Windows: the new file is written under a
// name of this process's own beside it, flushed, and then takes the old
// file's place with ReplaceFileW, which keeps the old file's attributes and
// access rights, or with a plain move when there is no old file.

#include "platform/replace_file.h"
#include "platform/win32/backend.h"

#include <string>
#include <system_error>

namespace platform {
namespace {

namespace fs = std::filesystem;

bool write_all(HANDLE file, std::span<const std::byte> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk =
            static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return true;
}

// A file that this user may not write (read-only, or denied) is left alone;
// a folder in its place cannot be opened as a file and is left alone too.
bool may_replace(const fs::path& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    CloseHandle(file);
    return true;
}

bool write_new_file(const fs::path& path, std::span<const std::byte> bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const bool written = write_all(file, bytes) && FlushFileBuffers(file);
    return CloseHandle(file) && written;
}

bool move_into_place(const fs::path& from, const fs::path& to) {
    return MoveFileExW(from.c_str(), to.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

// When ReplaceFileW fails half-way the old file may already be gone or
// renamed, with the new one still under its own name: moving it into place
// then loses nothing more.
bool put_in_place(const fs::path& from, const fs::path& to) {
    if (GetFileAttributesW(to.c_str()) == INVALID_FILE_ATTRIBUTES)
        return move_into_place(from, to);
    if (ReplaceFileW(to.c_str(), from.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                     nullptr))
        return true;
    const DWORD error = GetLastError();
    return (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT ||
            error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) &&
           move_into_place(from, to);
}

} // namespace

bool replace_file(const fs::path& name, std::span<const std::byte> bytes) {
    // ReplaceFileW takes the folder from the names it is given: a bare name
    // has none (Wine then fails with ERROR_DIRECTORY).
    std::error_code error;
    const fs::path path = fs::absolute(name, error);
    if (error)
        return false;
    fs::create_directories(path.parent_path(), error);
    if (!may_replace(path))
        return false;
    fs::path temporary = path;
    temporary += L"." + std::to_wstring(GetCurrentProcessId()) + L".new";
    if (write_new_file(temporary, bytes) && put_in_place(temporary, path))
        return true;
    DeleteFileW(temporary.c_str());
    return false;
}

} // namespace platform
