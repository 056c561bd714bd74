// The OS object over the platform functions of this build's OS.
#include "platform/os.h"

#include "platform/file_probe.h"
#include "platform/fs.h"
#include "platform/narrow_path.h"

namespace platform {
namespace {
class CRealOs final : public COs {
public:
    char16_t PathSeparator() const override { return platform::PathSeparator(); }
    size_t MaxPathLength() const override { return platform::MaxPathLength(); }
    std::u16string ExecutablePath() const override { return platform::ExecutablePath(); }
    std::u16string DocumentsFolder() const override { return platform::DocumentsFolder(); }
    std::u16string AppDataFolder() const override { return platform::AppDataFolder(); }
    bool IsCdRom(const std::u16string& p) const override { return platform::IsCdRom(p); }
    bool FullPath(const std::u16string& p, std::u16string& full) const override
    {
        return platform::FullPath(p, full, platform::MaxPathLength());
    }
    bool Exists(const std::u16string& p) const override { return platform::Exists(p); }
    bool CreateFolder(const std::u16string& p) const override { return platform::CreateFolder(p); }
    bool IsReadOnlyFile(const std::u16string& p) const override { return platform::IsReadOnlyFile(p); }
    platform::CFile OpenForReading(const std::u16string& p) const override
    {
        return platform::OpenForReading(p);
    }
    platform::CFile OpenForWriting(const std::u16string& p) const override
    {
        return platform::OpenForWriting(p);
    }
    platform::CFile CreateNewFile(const std::u16string& p) const override
    {
        return platform::CreateNewFile(p);
    }
    platform::CFile OpenForUpdate(const std::u16string& p) const override
    {
        return platform::OpenForUpdate(p);
    }
    platform::CFile CreateUniqueFile(const std::u16string& prefix, const std::u16string& suffix,
                                     std::u16string& path) const override
    {
        return platform::CreateUniqueFile(prefix, suffix, path);
    }
    bool RemoveFile(const std::u16string& p) const override { return platform::RemoveFile(p); }
    bool MoveReplace(const std::u16string& from, const std::u16string& to) const override
    {
        return platform::MoveReplace(from, to);
    }
    std::u16string ResolveLinks(const std::u16string& p) const override { return platform::ResolveLinks(p); }
    std::vector<std::u16string> FilesStartingWith(const std::u16string& prefix) const override
    {
        return platform::FilesStartingWith(prefix);
    }
    std::vector<std::u16string> FoldersStartingWith(const std::u16string& prefix) const override
    {
        return platform::EntriesStartingWith(prefix, true);
    }
    bool RemoveFolder(const std::u16string& p) const override { return platform::RemoveFolder(p); }
    bool IsProcessRunning(uint32_t processId) const override { return platform::IsProcessRunning(processId); }
    bool GetFileInfo(const std::u16string& p, SFileInfo& i) const override { return platform::GetFileInfo(p, i); }
    bool IsSameFile(const std::u16string& a, const std::u16string& b) const override
    {
        return platform::IsSameFile(a, b);
    }
    bool FitsNarrowArguments(const std::u16string& p) const override { return platform::FitsNarrowArguments(p); }
    std::u16string ShortPath(const std::u16string& p) const override { return platform::ShortPath(p); }
    bool MakeHardLink(const std::u16string& link, const std::u16string& target) const override
    {
        return platform::MakeHardLink(link, target);
    }
    bool CopyFileTo(const std::u16string& from, const std::u16string& to, bool bReplace) const override
    {
        return platform::CopyFileTo(from, to, bReplace);
    }
    std::u16string TempFolder() const override { return platform::TempFolder(); }
    uint32_t CurrentProcessId() const override { return platform::CurrentProcessId(); }
    bool IsCommandLineTooLong(const SCommandLine& c) const override { return platform::IsCommandLineTooLong(c); }
    CProcess StartProcessWithPipe(const SCommandLine& c, CPipeReadEnd& r, std::u16string& e) const override
    {
        return platform::StartProcessWithPipe(c, r, e);
    }
    EPipeRead ReadPipe(CPipeReadEnd& p, char* b, size_t s, size_t& n, unsigned ms) const override
    {
        return platform::ReadPipe(p, b, s, n, ms);
    }
    bool WaitForExit(CProcess& p, unsigned ms, int& code) const override
    {
        return platform::WaitForExit(p, ms, code);
    }
    void StopProcess(CProcess& p) const override { platform::StopProcess(p); }

    size_t Write(std::FILE* f, const void* bytes, size_t count) const override
    {
        return std::fwrite(bytes, 1, count, f);
    }
    size_t Read(std::FILE* f, void* bytes, size_t count) const override
    {
        return std::fread(bytes, 1, count, f);
    }
    int64_t FileLength(std::FILE* f) const override { return platform::FileLength(f); }
    bool FlushToDisk(std::FILE* f) const override { return platform::FlushToDisk(f); }
    bool SetFileLength(std::FILE* f, int64_t length) const override
    {
        return platform::SetFileLength(f, length);
    }
    bool CloseFile(platform::CFile& f) const override { return f.Close(); }

    bool FileOpensForReading(const std::u16string& p) const override
    {
        return platform::FileOpensForReading(p);
    }
    std::u16string ExecutableFileName(const std::u16string& base) const override
    {
        return platform::ExecutableFileName(base);
    }
    std::u16string FindOnSearchPath(const std::u16string& name) const override
    {
        return platform::HasSearchPath() ? platform::FindExecutableOnPath(name) : std::u16string();
    }
    std::u16string FindOnPathVariable(const std::u16string& name) const override
    {
        return platform::FindExecutableOnPath(name);
    }
};

// Built at compile time and never destroyed, so it is usable during static initialisation and
// teardown in any order. (A function-local static would be built at first use under the
// runtime's guard lock, whose OS objects outlive every unload of the DLL.)
union URealOs {
    CRealOs os;
    constexpr URealOs() : os() {}
    ~URealOs() {}
};
constinit URealOs g_realOs;
} // namespace

const COs& RealOs()
{
    return g_realOs.os;
}
} // namespace platform
