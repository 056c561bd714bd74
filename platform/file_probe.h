// Files the command looks for: whether one opens for reading, program names and the search path.
// Implemented by platform/file_probe.cpp, platform/posix/program_search.cpp and
// platform/win32/program_search.cpp.
#pragma once
#include <string>

namespace platform {
// path is not empty and names an existing file that opens for reading (shared); it is closed
// again at once. A folder does not count.
bool FileOpensForReading(const std::u16string& path);
// The file name of the program base (Windows: base + ".exe").
std::u16string ExecutableFileName(const std::u16string& base);
// Programs are looked up along a search path when the dialog has none (POSIX).
bool HasSearchPath();
// The full path of the first executable regular file called name in PATH's absolute folders;
// empty if none.
std::u16string FindExecutableOnPath(const std::u16string& name);
} // namespace platform
