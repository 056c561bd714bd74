// What the fusion dialog asks of a file before and after a run: whether it is a folder, its size
// and time of last writing, and whether two names mean one file.
// Implemented by platform/posix/file_info.cpp and platform/win32/file_info.cpp.
#pragma once
#include <cstdint>
#include <string>

namespace platform {
struct SFileInfo {
    bool bFolder = false;
    std::int64_t nSize = 0;
    std::int64_t nWriteTime = 0; // in the OS's own unit; only compared with itself
    bool operator==(const SFileInfo&) const = default;
};

// False when nothing of that name exists (or it cannot be examined).
bool GetFileInfo(const std::u16string& path, SFileInfo& info);

// Both names lead to the same existing file: POSIX the same device and inode; Windows the same
// full path, compared without case, or the same volume and file index (hard links, short names).
bool IsSameFile(const std::u16string& a, const std::u16string& b);
} // namespace platform
