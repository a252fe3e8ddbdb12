// The lock of a shared file on Windows: a byte range lock over the whole of
// the lock file, which waits while another handle holds it.

#include "platform/file_lock.h"
#include "platform/win32/backend.h"

namespace platform {
namespace {

// The range locked: all of the file and beyond, which Windows allows.
constexpr DWORD whole_range = MAXDWORD;

HANDLE handle_of(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

} // namespace

FileLock::FileLock(const std::filesystem::path& path)
    : handle_(reinterpret_cast<std::intptr_t>(INVALID_HANDLE_VALUE)) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    // The handle is synchronous, so the call waits until the lock is granted.
    OVERLAPPED from_start{};
    if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, whole_range, whole_range, &from_start)) {
        CloseHandle(file);
        return;
    }
    handle_ = reinterpret_cast<std::intptr_t>(file);
}

// Unlocked before the handle closes: the system lets the locks of a closed
// handle go only at a time of its own choosing.
FileLock::~FileLock() {
    HANDLE file = handle_of(handle_);
    if (file == INVALID_HANDLE_VALUE)
        return;
    OVERLAPPED from_start{};
    UnlockFileEx(file, 0, whole_range, whole_range, &from_start);
    CloseHandle(file);
}

} // namespace platform
