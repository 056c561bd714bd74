// Files and folders: the executable's path, the user's folders, CD-ROM test, shared file opening.
// Implemented by platform/posix/fs.cpp and platform/win32/fs.cpp.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/file.h"

namespace platform {
// '\\' on Windows, '/' elsewhere.
char16_t PathSeparator();
// Longest path that fits the platform's fixed path buffers (Windows: 259; else unlimited).
size_t MaxPathLength();

// Full path of the process's executable; empty on failure (Windows: also when it would not fit).
std::u16string ExecutablePath();
// The user's documents folder; empty when unknown.
std::u16string DocumentsFolder();
// The user's per-user application-data folder; empty when unknown.
std::u16string AppDataFolder();
// The drive (Linux: file system) of path is a CD-ROM (Linux: ISO 9660 or UDF); false when unknown.
bool IsCdRom(const std::u16string& path);
// The absolute form of path; false if it cannot be made or would not fit.
bool FullPath(const std::u16string& path, std::u16string& full);
// A file or folder exists at path.
bool Exists(const std::u16string& path);
// Creates one folder level.
bool CreateFolder(const std::u16string& path);
// path names an existing file that cannot be opened for writing.
bool IsReadOnlyFile(const std::u16string& path);

// Opening files shared (others may read and write them at the same time), in binary mode.
// Each returns an empty holder on failure.
CFile OpenForReading(const std::u16string& path); // an existing regular file
CFile OpenForWriting(const std::u16string& path); // created or truncated
CFile CreateNewFile(const std::u16string& path);  // must not exist; never via a link
// Length in bytes of an open file; -1 on failure.
int64_t FileLength(std::FILE* file);
// Flushes the stream and asks the OS to put its data on the disk.
bool FlushToDisk(std::FILE* file);

bool RemoveFile(const std::u16string& path);
// Puts from in the place of to in one step, replacing to.
bool MoveReplace(const std::u16string& from, const std::u16string& to);
} // namespace platform
