// CMemoryOs: settings-store services over files held in memory, so a fuzz target runs no disk I/O.
#pragma once
#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "platform/real_os.h"

namespace lvp::fuzz {
// Files are byte strings in a map; an open file is a stdio stream over one of them
// (fopencookie), so the streams and the store use it like any other file. Everything the store
// reaches of the files is faked; the rest (processes, the narrow paths) is the real OS, which
// the store does not call. Not thread-safe.
class CMemoryOs final : public platform::CRealOs {
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
    std::vector<std::u16string> FilesStartingWith(const std::u16string&) const override { return {}; }
    std::vector<std::u16string> FoldersStartingWith(const std::u16string&) const override { return {}; }
    bool RemoveFolderTree(const std::u16string&) const override { return false; }

    size_t Write(std::FILE* file, const void* bytes, size_t count) const override;
    size_t Read(std::FILE* file, void* bytes, size_t count) const override;
    int64_t FileLength(std::FILE* file) const override;
    bool FlushToDisk(std::FILE* file) const override;
    bool SetFileLength(std::FILE* file, int64_t length) const override;
    bool CloseFile(platform::CFile& file) const override { return file.Close(); }
    bool FileOpensForReading(const std::u16string& path) const override { return Bytes(path) != nullptr; }
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

private:
    // A file's bytes are shared by its map entry and its open streams, as an inode is.
    using Bytes_t = std::shared_ptr<std::string>;
    platform::CFile Open(const Bytes_t& bytes) const;

    mutable std::map<std::u16string, Bytes_t> m_files;
    mutable unsigned m_nUnique = 0;
};
} // namespace lvp::fuzz
