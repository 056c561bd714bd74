// SFileInfo: what COs::GetFileInfo tells of a file (whether it is a folder, its size and time of
// last writing). Header-only and the same on every OS.
#pragma once
#include <cstdint>

namespace platform {
struct SFileInfo {
    bool bFolder = false;
    std::int64_t nSize = 0;
    std::int64_t nWriteTime = 0; // in the OS's own unit; only compared with itself
    bool operator==(const SFileInfo&) const = default;
};
} // namespace platform
