// Splitting and joining paths as text: file name, stem, extension, folder, parent folder, the
// separator at the end, and the ASCII test. Pure and the same on every OS: the caller names the
// separators (COs::PathSeparators). Implemented by platform/path.cpp.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace platform {
// Where the file name begins: after the last of separators; 0 when there is none.
std::size_t FileNameStart(std::u16string_view path, std::u16string_view separators);
// The part after the last separator (all of path when it has none).
std::u16string_view FileNameOf(std::u16string_view path, std::u16string_view separators);
// The part up to and including the last separator; empty when there is none.
std::u16string_view FolderOf(std::u16string_view path, std::u16string_view separators);
// From the file name's last "." on (a name that begins with its only "." is all extension);
// empty when the file name has no "." (a "." in the folder part never counts).
std::u16string_view ExtensionOf(std::u16string_view path, std::u16string_view separators);
// The file name without ExtensionOf.
std::u16string_view StemOf(std::u16string_view path, std::u16string_view separators);
// The folder that holds path, without its last separator, except that a root keeps its own
// ("/", "\\", "C:\\"); false when path has no separator.
bool ParentFolderOf(std::u16string_view path, std::u16string_view separators, std::u16string_view& parent);
// Appends separator unless path is empty or already ends in it.
void AppendSeparator(std::u16string& path, char16_t separator);
// The parts between separators, in order; empty parts stay ("\\\\srv" gives "", "", "srv").
std::vector<std::u16string> PathComponents(std::u16string_view path, std::u16string_view separators);
// Every character is below 0x80.
bool IsAscii(std::u16string_view text);
} // namespace platform
