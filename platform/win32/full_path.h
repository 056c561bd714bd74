// The full form of a path within a length, for the Win32 files of the platform layer (the OS
// object's FullPath keeps to MaxPathLength; the file identity test asks with no limit).
// Implemented by platform/win32/fs.cpp.
#pragma once
#include <cstddef>
#include <string>

namespace platform::win32 {
bool FullPathWithin(const std::u16string& path, std::u16string& full, std::size_t maxLength);
} // namespace platform::win32
