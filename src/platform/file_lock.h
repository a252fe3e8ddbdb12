#pragma once

// An exclusive lock that copies of the game running at the same time take
// before they read and write a shared file, kept on a file of its own beside
// that file, so that the shared file itself may be replaced while it is held.

#include <cstdint>
#include <filesystem>

namespace platform {

class FileLock {
  public:
    // Makes the lock file at `path` when it is missing and waits until no
    // other program holds its lock. Where no lock file can be made (a folder
    // this user may not write) the lock holds nothing, and what it would
    // guard goes on unguarded.
    explicit FileLock(const std::filesystem::path& path);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

  private:
    std::intptr_t handle_;
};

} // namespace platform
