// CRealOs: the services of the OS this build runs on, each as platform/os.h describes it. Not
// final: a test double derives from it and overrides only what it fakes.
// Implemented by platform/os.cpp (the portable calls) and, per OS, by platform/posix/ and
// platform/win32/ (fs.cpp files and folders, file_info.cpp, narrow_path.cpp, process.cpp,
// program_search.cpp, machine.cpp).
#pragma once
#include "platform/os.h"

namespace platform {
class CRealOs : public COs {
public:
    constexpr CRealOs() = default;

    char16_t PathSeparator() const override;
    size_t MaxPathLength() const override;
    std::u16string ExecutablePath() const override;
    std::u16string DocumentsFolder() const override;
    std::u16string AppDataFolder() const override;
    bool IsCdRom(const std::u16string& path) const override;
    bool FullPath(const std::u16string& path, std::u16string& full) const override;
    bool Exists(const std::u16string& path) const override;
    bool CreateFolder(const std::u16string& path) const override;
    bool IsReadOnlyFile(const std::u16string& path) const override;
    std::u16string ResolveLinks(const std::u16string& path) const override;
    std::vector<std::u16string> FilesStartingWith(const std::u16string& prefix) const override;
    std::vector<std::u16string> FoldersStartingWith(const std::u16string& prefix) const override;
    bool GetFileInfo(const std::u16string& path, SFileInfo& info) const override;
    bool IsSameFile(const std::u16string& a, const std::u16string& b) const override;
    CFile OpenForReading(const std::u16string& path) const override;
    CFile OpenForWriting(const std::u16string& path) const override;
    CFile CreateNewFile(const std::u16string& path) const override;
    CFile OpenForUpdate(const std::u16string& path) const override;
    CFile CreateUniqueFile(const std::u16string& prefix, const std::u16string& suffix,
                           std::u16string& path) const override;
    bool RemoveFile(const std::u16string& path) const override;
    bool RemoveFolderTree(const std::u16string& path) const override;
    bool MoveReplace(const std::u16string& from, const std::u16string& to) const override;
    size_t Write(std::FILE* file, const void* bytes, size_t count) const override;
    size_t Read(std::FILE* file, void* bytes, size_t count) const override;
    int64_t FileLength(std::FILE* file) const override;
    bool FlushToDisk(std::FILE* file) const override;
    bool SetFileLength(std::FILE* file, int64_t length) const override;
    bool CloseFile(CFile& file) const override;
    bool FileOpensForReading(const std::u16string& path) const override;
    std::u16string ExecutableFileName(const std::u16string& base) const override;
    std::u16string FindOnPathVariable(const std::u16string& name) const override;
    std::vector<std::u16string> ProgramInstallRoots() const override;
    bool FitsNarrowArguments(const std::u16string& path) const override;
    std::u16string ShortPath(const std::u16string& path) const override;
    bool MakeHardLink(const std::u16string& link, const std::u16string& target) const override;
    bool CopyFileTo(const std::u16string& from, const std::u16string& to, bool bReplace) const override;
    std::u16string TempFolder() const override;
    uint32_t CurrentProcessId() const override;
    bool IsProcessRunning(uint32_t processId) const override;
    bool IsCommandLineTooLong(const SCommandLine& command) const override;
    CProcess StartProcessWithPipe(const SCommandLine& command, CPipeReadEnd& readEnd,
                                  std::u16string& strError) const override;
    EPipeRead ReadPipe(CPipeReadEnd& pipe, char* buffer, size_t size, size_t& nRead,
                       unsigned nMilliseconds) const override;
    bool WaitForExit(CProcess& process, unsigned nMilliseconds, int& nExitCode) const override;
    void StopProcess(CProcess& process) const override;
    unsigned ProcessorCount() const override;
    uint64_t AvailableMemory() const override;

private:
    // FilesStartingWith (bFolders false) and FoldersStartingWith (true).
    static std::vector<std::u16string> EntriesStartingWith(const std::u16string& prefix, bool bFolders);
};
} // namespace platform
