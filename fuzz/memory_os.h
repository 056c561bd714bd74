// CMemoryOs: settings-store services over files held in memory, so a fuzz target runs no disk I/O.
#pragma once
#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "platform/os.h"

namespace lvp::fuzz {
// Files are byte strings in a map; an open file is a stdio stream over one of them
// (fopencookie), so the streams and the store use it like any other file. Not thread-safe.
class CMemoryOs final : public platform::COs {
public:
    // Where the store finds its folder, and where the fuzz targets put their file.
    static constexpr const char16_t* kFolder = u"/mem/";
    static constexpr const char16_t* kFile = u"/mem/lvp_hdr.xml";

    CMemoryOs() = default;
    CMemoryOs(const CMemoryOs&) = delete;
    CMemoryOs& operator=(const CMemoryOs&) = delete;

    // The bytes of a file; null when there is none.
    const std::string* Bytes(const std::u16string& path) const;
    void SetBytes(const std::u16string& path, std::string bytes);
    size_t FileCount() const { return m_files.size(); }
    void Clear() { m_files.clear(); }

    char16_t PathSeparator() const override { return u'/'; }
    size_t MaxPathLength() const override { return SIZE_MAX; }
    std::u16string ExecutablePath() const override { return u"/mem/host"; }
    std::u16string DocumentsFolder() const override { return u"/mem"; }
    std::u16string AppDataFolder() const override { return {}; }
    bool IsCdRom(const std::u16string&) const override { return false; }
    bool FullPath(const std::u16string& path, std::u16string& full) const override;
    bool Exists(const std::u16string& path) const override;
    bool CreateFolder(const std::u16string&) const override { return false; }
    bool IsReadOnlyFile(const std::u16string&) const override { return false; }
    platform::CFile OpenForReading(const std::u16string& path) const override;
    platform::CFile OpenForWriting(const std::u16string& path) const override;
    platform::CFile CreateNewFile(const std::u16string& path) const override;
    platform::CFile OpenForUpdate(const std::u16string& path) const override;
    platform::CFile CreateUniqueFile(const std::u16string& prefix, const std::u16string& suffix,
                                     std::u16string& path) const override;
    bool RemoveFile(const std::u16string& path) const override;
    bool MoveReplace(const std::u16string& from, const std::u16string& to) const override;
    std::u16string ResolveLinks(const std::u16string& path) const override { return path; }

    size_t Write(std::FILE* file, const void* bytes, size_t count) const override;
    size_t Read(std::FILE* file, void* bytes, size_t count) const override;
    int64_t FileLength(std::FILE* file) const override;
    bool FlushToDisk(std::FILE* file) const override;
    bool SetFileLength(std::FILE* file, int64_t length) const override;
    bool CloseFile(platform::CFile& file) const override { return file.Close(); }
    bool FileOpensForReading(const std::u16string& path) const override { return Bytes(path) != nullptr; }
    std::u16string ExecutableFileName(const std::u16string& base) const override { return base; }
    std::u16string FindOnSearchPath(const std::u16string&) const override { return {}; }
    bool GetFileInfo(const std::u16string& path, platform::SFileInfo& info) const override
    {
        const std::string* bytes = Bytes(path);
        if (bytes)
            info = {false, static_cast<int64_t>(bytes->size()), 0};
        return bytes != nullptr;
    }
    bool IsSameFile(const std::u16string& a, const std::u16string& b) const override
    {
        return a == b && Bytes(a) != nullptr;
    }
    bool FitsNarrowArguments(const std::u16string&) const override { return true; }
    std::u16string ShortPath(const std::u16string&) const override { return {}; }
    bool MakeHardLink(const std::u16string&, const std::u16string&) const override { return false; }
    bool CopyFileTo(const std::u16string&, const std::u16string&, bool) const override { return false; }
    std::u16string TempFolder() const override { return u"/mem"; }
    uint32_t CurrentProcessId() const override { return 1; }
    // No programs run in memory.
    bool IsCommandLineTooLong(const platform::SCommandLine&) const override { return false; }
    platform::CProcess StartProcessWithPipe(const platform::SCommandLine&, platform::CPipeReadEnd&,
                                            std::u16string& strError) const override
    {
        strError = u"no programs in memory";
        return {};
    }
    platform::EPipeRead ReadPipe(platform::CPipeReadEnd&, char*, size_t, size_t& n, unsigned) const override
    {
        n = 0;
        return platform::EPipeRead::End;
    }
    bool WaitForExit(platform::CProcess&, unsigned, int& code) const override
    {
        code = -1;
        return true;
    }
    void StopProcess(platform::CProcess& p) const override { p.Close(); }

private:
    // A file's bytes are shared by its map entry and its open streams, as an inode is.
    using Bytes_t = std::shared_ptr<std::string>;
    platform::CFile Open(const Bytes_t& bytes) const;

    mutable std::map<std::u16string, Bytes_t> m_files;
    mutable unsigned m_nUnique = 0;
};
} // namespace lvp::fuzz
