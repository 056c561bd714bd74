// Whether a file can be opened for reading, as the dialog and the command check the program.
// Implemented by platform/file_probe.cpp on top of platform/fs.h.
#pragma once
#include <string>

namespace platform {
// path is not empty and names an existing file that opens for reading (shared); it is closed
// again at once. A folder does not count.
bool FileOpensForReading(const std::u16string& path);
} // namespace platform
