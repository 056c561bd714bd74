// COs: the operating system as one object (folders, files, program search, processes), which
// the settings store, the command and its dialog take by reference; tests hand in doubles (tests/settings/test_util.h).
// Implemented by platform/os.cpp over the OS's own files (platform/posix/, platform/win32/).
#pragma once
#include "platform/file.h"
#include "platform/file_info.h"
#include "platform/process.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace platform {
// Every call reports failure by its result; none throws for an OS failure. Names avoid the
// Win32 macros (DeleteFile, ReplaceFile) so that a file including <windows.h> sees the same.
class COs {
public:
    virtual ~COs() = default;

    virtual char16_t PathSeparator() const = 0;
    // Longest path the platform's fixed buffers hold (Windows 259, otherwise unlimited).
    virtual size_t MaxPathLength() const = 0;
    // Full path of the host process's executable; empty on failure.
    virtual std::u16string ExecutablePath() const = 0;
    // The user's documents and application-data folders; empty when unknown.
    virtual std::u16string DocumentsFolder() const = 0;
    virtual std::u16string AppDataFolder() const = 0;
    // The path lies on a CD-ROM drive (Linux: an ISO 9660 or UDF file system).
    virtual bool IsCdRom(const std::u16string& path) const = 0;
    // Absolute form of path; false when it cannot be made (or would not fit).
    virtual bool FullPath(const std::u16string& path, std::u16string& full) const = 0;
    // A file or folder of that name exists.
    virtual bool Exists(const std::u16string& path) const = 0;
    // One level, no intermediate folders.
    virtual bool CreateFolder(const std::u16string& path) const = 0;
    // An existing file that cannot be written to (read-only).
    virtual bool IsReadOnlyFile(const std::u16string& path) const = 0;
    // Opens a regular file shared, for reading ("rb"); an empty holder on failure.
    virtual CFile OpenForReading(const std::u16string& path) const = 0;
    // Creates or truncates a file shared, for writing ("wb"); an empty holder on failure.
    virtual CFile OpenForWriting(const std::u16string& path) const = 0;
    // Creates a file that does not exist yet, for writing, never through a symbolic link.
    virtual CFile CreateNewFile(const std::u16string& path) const = 0;
    // Opens an existing regular file shared, for reading and writing, without truncating it.
    virtual CFile OpenForUpdate(const std::u16string& path) const = 0;
    // Creates prefix + (a part no one else uses) + suffix exclusively; path receives the name.
    virtual CFile CreateUniqueFile(const std::u16string& prefix, const std::u16string& suffix,
                                   std::u16string& path) const = 0;
    virtual bool RemoveFile(const std::u16string& path) const = 0;
    // Puts from in place of to in one step; false leaves both as they were.
    virtual bool MoveReplace(const std::u16string& from, const std::u16string& to) const = 0;
    // The file path finally names, links followed; path itself when it is no link.
    virtual std::u16string ResolveLinks(const std::u16string& path) const = 0;
    // Full paths of the files whose path begins with prefix; by default none.
    virtual std::vector<std::u16string> FilesStartingWith(const std::u16string& /*prefix*/) const
    {
        return {};
    }
    // The same for folders; by default none.
    virtual std::vector<std::u16string> FoldersStartingWith(const std::u16string& /*prefix*/) const
    {
        return {};
    }
    // Removes an empty folder; by default nothing is removed.
    virtual bool RemoveFolder(const std::u16string& /*path*/) const { return false; }
    // A process of that id runs now; by default every one does (so no file is taken for stale).
    virtual bool IsProcessRunning(uint32_t /*processId*/) const { return true; }

    // Program search, for the fusion program.
    // path is not empty and names an existing file that opens for reading; a folder does not.
    virtual bool FileOpensForReading(const std::u16string& path) const = 0;
    // The file name of the program base (Windows: base + ".exe").
    virtual std::u16string ExecutableFileName(const std::u16string& base) const = 0;
    // The first executable called name along the search path for programs; empty when there is
    // none, or the OS looks for programs along no such path (Windows).
    virtual std::u16string FindOnSearchPath(const std::u16string& name) const = 0;
    // The first executable called name in the folders of PATH, on every OS (the alignment
    // program is looked for there on Windows too); by default none.
    virtual std::u16string FindOnPathVariable(const std::u16string& /*name*/) const { return {}; }

    // Whether a file is a folder, its size and time of writing; false when nothing is there.
    virtual bool GetFileInfo(const std::u16string& path, SFileInfo& info) const = 0;
    // Both names lead to one existing file (platform/file_info.h).
    virtual bool IsSameFile(const std::u16string& a, const std::u16string& b) const = 0;

    // Arguments of a program with a narrow main() (platform/narrow_path.h tells what each does).
    virtual bool FitsNarrowArguments(const std::u16string& path) const = 0;
    virtual std::u16string ShortPath(const std::u16string& path) const = 0;
    virtual bool MakeHardLink(const std::u16string& link, const std::u16string& target) const = 0;
    virtual bool CopyFileTo(const std::u16string& from, const std::u16string& to, bool bReplace) const = 0;
    virtual std::u16string TempFolder() const = 0;
    virtual uint32_t CurrentProcessId() const = 0;

    // The fusion program's run (platform/process.h tells what each does).
    virtual bool IsCommandLineTooLong(const SCommandLine& command) const = 0;
    virtual CProcess StartProcessWithPipe(const SCommandLine& command, CPipeReadEnd& readEnd,
                                          std::u16string& strError) const = 0;
    virtual EPipeRead ReadPipe(CPipeReadEnd& pipe, char* buffer, size_t size, size_t& nRead,
                               unsigned nMilliseconds) const = 0;
    virtual bool WaitForExit(CProcess& process, unsigned nMilliseconds, int& nExitCode) const = 0;
    virtual void StopProcess(CProcess& process) const = 0;

    // Operations on an open file (the streams' and the settings writer's only way to the disk).
    // Writes count bytes; the number written, fewer on a failure.
    virtual size_t Write(std::FILE* file, const void* bytes, size_t count) const = 0;
    // Reads up to count bytes; the number read.
    virtual size_t Read(std::FILE* file, void* bytes, size_t count) const = 0;
    // Length in bytes of the open file; -1 on failure.
    virtual int64_t FileLength(std::FILE* file) const = 0;
    // Pushes everything written so far to the disk.
    virtual bool FlushToDisk(std::FILE* file) const = 0;
    // Cuts the file to length bytes (after flushing the stream).
    virtual bool SetFileLength(std::FILE* file, int64_t length) const = 0;
    // Closes the file (it is closed afterwards in any case); false when closing failed.
    virtual bool CloseFile(CFile& file) const = 0;
};

// The real services of the OS this build runs on (stateless, lives for the process).
const COs& RealOs();
} // namespace platform
