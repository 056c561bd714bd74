// Files and folders: the executable's path, the user's folders, drive types, shared file opening.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace platform {
// Drive type codes as GetDriveTypeW returns them (the ones the callers test for).
constexpr uint32_t kDriveNoRootDir = 1;
constexpr uint32_t kDriveFixed = 3;
constexpr uint32_t kDriveCdRom = 5;

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
// GetDriveTypeW's code for the drive (Linux: file system) of path; kDriveCdRom for a CD-ROM.
uint32_t DriveType(const std::u16string& path);
// The absolute form of path; false if it cannot be made or would not fit.
bool FullPath(const std::u16string& path, std::u16string& full);
// A file or folder exists at path.
bool Exists(const std::u16string& path);
// Creates one folder level.
bool CreateFolder(const std::u16string& path);
// path names an existing file that cannot be opened for writing.
bool IsReadOnlyFile(const std::u16string& path);

// Opening files shared (others may read and write them at the same time), in binary mode.
// Each returns nullptr on failure; the caller closes the stream with fclose.
std::FILE* OpenForReading(const std::u16string& path);  // an existing regular file
std::FILE* OpenForWriting(const std::u16string& path);  // created or truncated
std::FILE* CreateNewFile(const std::u16string& path);   // must not exist; never via a link
// Length in bytes of an open file; -1 on failure.
int64_t FileLength(std::FILE* file);
// Flushes the stream and asks the OS to put its data on the disk.
bool FlushToDisk(std::FILE* file);

bool RemoveFile(const std::u16string& path);
// Puts from in the place of to in one step, replacing to.
bool MoveReplace(const std::u16string& from, const std::u16string& to);
} // namespace platform
