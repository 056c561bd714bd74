// COs: the operating system as one object (folders, files, program search, processes), which
// the settings store, the fusion layer and the dialog take by reference. Each operation is
// declared here once; platform/real_os.h is the real one, tests derive their doubles from it.
#pragma once
#include "platform/file.h"
#include "platform/file_info.h"
#include "platform/process.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace platform {
// Every call reports failure by its result; none throws for an OS failure. Names avoid the
// Win32 macros (DeleteFile, ReplaceFile) so that a file including <windows.h> sees the same.
class COs {
public:
    virtual ~COs() = default;

    // Folders and paths.
    // '\\' on Windows, '/' elsewhere.
    virtual char16_t PathSeparator() const = 0;
    // The characters that end a folder's name in a path: both "\\" and "/" on Windows, only
    // "/" elsewhere (there a backslash belongs to the name). Portable code splits paths by these.
    virtual std::u16string_view PathSeparators() const
    {
        return PathSeparator() == u'\\' ? std::u16string_view(u"\\/") : std::u16string_view(u"/");
    }
    // Longest path that fits the platform's fixed path buffers (Windows: 259; else unlimited).
    virtual size_t MaxPathLength() const = 0;
    // Full path of the host process's executable; empty on failure (Windows: also when it would
    // not fit).
    virtual std::u16string ExecutablePath() const = 0;
    // The user's documents folder; empty when unknown.
    virtual std::u16string DocumentsFolder() const = 0;
    // The user's per-user application-data folder; empty when unknown.
    virtual std::u16string AppDataFolder() const = 0;
    // The drive (Linux: file system) of path is a CD-ROM (Linux: ISO 9660 or UDF); false when unknown.
    virtual bool IsCdRom(const std::u16string& path) const = 0;
    // The absolute form of path (the current folder's itself for "."); false if it cannot be
    // made or is longer than MaxPathLength.
    virtual bool FullPath(const std::u16string& path, std::u16string& full) const = 0;
    // A file or folder exists at path.
    virtual bool Exists(const std::u16string& path) const = 0;
    // Creates one folder level, no intermediate folders.
    virtual bool CreateFolder(const std::u16string& path) const = 0;
    // path names an existing file that cannot be opened for writing.
    virtual bool IsReadOnlyFile(const std::u16string& path) const = 0;
    // The file that path finally names, symbolic links followed (also a dangling link's target);
    // path itself when it is no link or cannot be resolved.
    virtual std::u16string ResolveLinks(const std::u16string& path) const = 0;
    // Full paths of the files (not folders) whose path begins with prefix: its folder part names
    // the folder (none: the current folder) and the rest the start of their names. Empty when
    // unreadable.
    virtual std::vector<std::u16string> FilesStartingWith(const std::u16string& prefix) const = 0;
    // The same for folders.
    virtual std::vector<std::u16string> FoldersStartingWith(const std::u16string& prefix) const = 0;
    // Whether a file is a folder, its size and time of writing; false when nothing is there (or
    // it cannot be examined).
    virtual bool GetFileInfo(const std::u16string& path, SFileInfo& info) const = 0;
    // Both names lead to the same existing file: POSIX the same device and inode; Windows the
    // same full path, compared without case, or the same volume and file index (hard links,
    // short names).
    virtual bool IsSameFile(const std::u16string& a, const std::u16string& b) const = 0;

    // Opening files shared (others may read and write them at the same time), in binary mode.
    // Each returns an empty holder on failure.
    // An existing regular file, for reading ("rb").
    virtual CFile OpenForReading(const std::u16string& path) const = 0;
    // Created or truncated, for writing ("wb").
    virtual CFile OpenForWriting(const std::u16string& path) const = 0;
    // A file that must not exist yet, for writing; never through a link.
    virtual CFile CreateNewFile(const std::u16string& path) const = 0;
    // An existing regular file, for reading and writing, not truncated ("r+b").
    virtual CFile OpenForUpdate(const std::u16string& path) const = 0;
    // Creates prefix + a part no other process or person uses + suffix (platform::UniqueName)
    // exclusively, never through a link; path receives its name. An empty holder when the
    // folder refuses.
    virtual CFile CreateUniqueFile(const std::u16string& prefix, const std::u16string& suffix,
                                   std::u16string& path) const = 0;
    virtual bool RemoveFile(const std::u16string& path) const = 0;
    // Removes a folder and everything in it; a link inside is removed, never followed.
    virtual bool RemoveFolderTree(const std::u16string& path) const = 0;
    // Puts from in the place of to in one step, replacing to; false leaves both as they were.
    virtual bool MoveReplace(const std::u16string& from, const std::u16string& to) const = 0;

    // Operations on an open file (the streams' and the settings writer's only way to the disk).
    // Writes count bytes; the number written, fewer on a failure.
    virtual size_t Write(std::FILE* file, const void* bytes, size_t count) const = 0;
    // Reads up to count bytes; the number read.
    virtual size_t Read(std::FILE* file, void* bytes, size_t count) const = 0;
    // Length in bytes of the open file; -1 on failure.
    virtual int64_t FileLength(std::FILE* file) const = 0;
    // Flushes the stream and asks the OS to put its data on the disk.
    virtual bool FlushToDisk(std::FILE* file) const = 0;
    // Flushes the stream and cuts (or extends) its file to length bytes.
    virtual bool SetFileLength(std::FILE* file, int64_t length) const = 0;
    // Closes the file (it is closed afterwards in any case); false when closing failed.
    virtual bool CloseFile(CFile& file) const = 0;

    // Program search, for the fusion and the alignment program (fusion/program_search.h).
    // path is not empty and names an existing file that opens for reading (shared); it is
    // closed again at once. A folder does not count.
    virtual bool FileOpensForReading(const std::u16string& path) const = 0;
    // The file name of the program base (Windows: base + ".exe").
    virtual std::u16string ExecutableFileName(const std::u16string& base) const = 0;
    // The full path of the first regular file called name in the absolute folders of PATH
    // (quotes dropped; POSIX: an executable one); empty when there is none.
    virtual std::u16string FindOnPathVariable(const std::u16string& name) const = 0;
    // The folders into which installers put programs, without a separator at the end, in the
    // order they are searched (Windows: %ProgramW6432%, %ProgramFiles%, %ProgramFiles(x86)%,
    // empty and repeated ones dropped; POSIX: none).
    virtual std::vector<std::u16string> ProgramInstallRoots() const = 0;

    // Paths for a program with a narrow main(): whether a path reaches it unchanged, and the
    // other forms a file can take for it.
    // The path reaches such a program as it is. Windows: it converts to the ANSI code page
    // exactly (no best-fit character, no default character); POSIX: always (arguments are bytes).
    virtual bool FitsNarrowArguments(const std::u16string& path) const = 0;
    // The short (8.3) form of an existing file or folder, made of ASCII only and agreeing,
    // component by component, with the names the volume lists; empty where there is none
    // (POSIX: always).
    virtual std::u16string ShortPath(const std::u16string& path) const = 0;
    // A new name for an existing file on the same volume; false when one cannot be made.
    virtual bool MakeHardLink(const std::u16string& link, const std::u16string& target) const = 0;
    // Copies a file; to must not exist unless bReplace.
    virtual bool CopyFileTo(const std::u16string& from, const std::u16string& to, bool bReplace) const = 0;
    // The user's folder for temporary files, without a separator at the end; empty when unknown.
    virtual std::u16string TempFolder() const = 0;

    // Processes.
    // The id of this process, as temporary names carry it (platform/temp_name.h).
    virtual uint32_t CurrentProcessId() const = 0;
    // A process of that id runs now (also one this process may not inspect).
    virtual bool IsProcessRunning(uint32_t processId) const = 0;
    // True when the system would refuse the command line as too long (Windows: 32 767
    // characters with the terminator; POSIX: arguments and environment beyond the argument space).
    virtual bool IsCommandLineTooLong(const SCommandLine& command) const = 0;
    // Starts the program with both its standard output and standard error on the write end of
    // one new pipe and the caller's standard input, hidden, in a console (session) of its own,
    // as the leader of what it starts (POSIX: its own process group; Windows: a job object that
    // is killed when its last handle closes). On success returns the process and readEnd holds
    // the pipe's read end; on failure returns no process, readEnd is invalid and strError holds
    // the system's reason (empty for a command line that is too long). A program named without
    // a separator is refused (the file is not found): the caller resolves names.
    virtual CProcess StartProcessWithPipe(const SCommandLine& command, CPipeReadEnd& readEnd,
                                          std::u16string& strError) const = 0;
    // Waits at most nMilliseconds for bytes on the pipe and reads what is there.
    virtual EPipeRead ReadPipe(CPipeReadEnd& pipe, char* buffer, size_t size, size_t& nRead,
                               unsigned nMilliseconds) const = 0;
    // Waits at most nMilliseconds for the program to end; true once it has, with its exit code
    // (POSIX: 128 + the signal that ended it; -1 when it cannot be known). After true the holder
    // is empty (POSIX) or holds only what its release closes (Windows).
    virtual bool WaitForExit(CProcess& process, unsigned nMilliseconds, int& nExitCode) const = 0;
    // Stops the program and everything it started (POSIX: SIGTERM to the group, SIGKILL after
    // 2 seconds; Windows: the job is terminated), without waiting for the pipe.
    virtual void StopProcess(CProcess& process) const = 0;

    // The machine, for how many programs may run side by side.
    // The processors this process may run on now (at least 1).
    virtual unsigned ProcessorCount() const = 0;
    // The physical memory free for new programs now, in bytes; 0 when unknown (POSIX:
    // MemAvailable of /proc/meminfo, else the free pages; Windows: the available physical memory).
    virtual uint64_t AvailableMemory() const = 0;
};

// The real services of the OS this build runs on (stateless, lives for the process).
const COs& RealOs();
} // namespace platform
