// Files and folders: the executable's path, the user's folders, CD-ROM test, shared file opening.
// Implemented by platform/posix/fs.cpp and platform/win32/fs.cpp; UniqueName by platform/unique_name.cpp.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

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
// The absolute form of path (the current folder's itself for "."); false if it cannot be made
// or is longer than maxLength characters.
bool FullPath(const std::u16string& path, std::u16string& full, size_t maxLength = SIZE_MAX);
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
CFile OpenForUpdate(const std::u16string& path);  // an existing regular file, not truncated ("r+b")
// Creates a new file named prefix + a part no other process or person uses + suffix, exclusively
// (never through a link); path receives its name. An empty holder when the folder refuses.
CFile CreateUniqueFile(const std::u16string& prefix, const std::u16string& suffix, std::u16string& path);
// prefix + the process id and 64 random bits in hex + suffix; a new name on every call.
std::u16string UniqueName(const std::u16string& prefix, const std::u16string& suffix, uint32_t processId);
// The process id that UniqueName put into a name.
uint32_t CurrentProcessId();
// A process of that id runs now (also one this process may not inspect).
bool IsProcessRunning(uint32_t processId);
// Full paths of the files (bFolders: the folders) whose path begins with prefix: its folder part
// names the folder (none: the current folder) and the rest the start of their names. Empty
// when unreadable.
std::vector<std::u16string> EntriesStartingWith(const std::u16string& prefix, bool bFolders);
inline std::vector<std::u16string> FilesStartingWith(const std::u16string& prefix)
{
    return EntriesStartingWith(prefix, false);
}
// Removes an empty folder.
bool RemoveFolder(const std::u16string& path);
// Length in bytes of an open file; -1 on failure.
int64_t FileLength(std::FILE* file);
// Flushes the stream and asks the OS to put its data on the disk.
bool FlushToDisk(std::FILE* file);
// Flushes the stream and cuts (or extends) its file to length bytes.
bool SetFileLength(std::FILE* file, int64_t length);
// The file that path finally names, symbolic links followed (also a dangling link's target);
// path itself when it is no link or cannot be resolved.
std::u16string ResolveLinks(const std::u16string& path);

bool RemoveFile(const std::u16string& path);
// Puts from in the place of to in one step, replacing to.
bool MoveReplace(const std::u16string& from, const std::u16string& to);
} // namespace platform
