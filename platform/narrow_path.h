// Paths for a program with a narrow main(): whether a path reaches it unchanged, and the other
// forms a file can take for it (short name, hard link, copy in the temporary folder).
// Implemented by platform/posix/narrow_path.cpp and platform/win32/narrow_path.cpp.
#pragma once
#include <string>

namespace platform {
// The path reaches such a program as it is. Windows: it converts to the ANSI code page exactly
// (no best-fit character, no default character); POSIX: always (arguments are bytes).
bool FitsNarrowArguments(const std::u16string& path);
// The short (8.3) form of an existing file or folder, made of ASCII only and agreeing, component
// by component, with the names the volume lists; empty where there is none (POSIX: always).
std::u16string ShortPath(const std::u16string& path);
// A new name for an existing file on the same volume; false when one cannot be made.
bool MakeHardLink(const std::u16string& link, const std::u16string& target);
// Copies a file; to must not exist unless bReplace.
bool CopyFileTo(const std::u16string& from, const std::u16string& to, bool bReplace);
// The user's folder for temporary files, without a separator at the end; empty when unknown.
std::u16string TempFolder();
} // namespace platform
