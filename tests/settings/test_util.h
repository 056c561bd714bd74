// Helpers of the settings tests: temporary folders, file bytes, redirected OS folders, map dumps.
#pragma once
#include <filesystem>
#include <string>
#include <string_view>

#include "settings/settings_store.h"
#include "tests/platform/file_util.h"

// A new file in a scratch folder of the process, holding bytes, open for reading and writing
// at its start (a stand-in for files of the fake OS).
platform::CFile ScratchFile(const std::string& bytes);

// The platform's real services, with any call open to be replaced by a test.
class ForwardingOs : public platform::COs {
public:
    char16_t PathSeparator() const override { return m_real.PathSeparator(); }
    size_t MaxPathLength() const override { return m_real.MaxPathLength(); }
    std::u16string ExecutablePath() const override { return m_real.ExecutablePath(); }
    std::u16string DocumentsFolder() const override { return m_real.DocumentsFolder(); }
    std::u16string AppDataFolder() const override { return m_real.AppDataFolder(); }
    bool IsCdRom(const std::u16string& p) const override { return m_real.IsCdRom(p); }
    bool FullPath(const std::u16string& p, std::u16string& f) const override { return m_real.FullPath(p, f); }
    bool Exists(const std::u16string& p) const override { return m_real.Exists(p); }
    bool CreateFolder(const std::u16string& p) const override { return m_real.CreateFolder(p); }
    bool IsReadOnlyFile(const std::u16string& p) const override { return m_real.IsReadOnlyFile(p); }
    platform::CFile OpenForReading(const std::u16string& p) const override
    {
        return m_real.OpenForReading(p);
    }
    platform::CFile OpenForWriting(const std::u16string& p) const override
    {
        return m_real.OpenForWriting(p);
    }
    platform::CFile CreateNewFile(const std::u16string& p) const override { return m_real.CreateNewFile(p); }
    platform::CFile OpenForUpdate(const std::u16string& p) const override { return m_real.OpenForUpdate(p); }
    platform::CFile CreateUniqueFile(const std::u16string& prefix, const std::u16string& suffix,
                                     std::u16string& path) const override
    {
        return m_real.CreateUniqueFile(prefix, suffix, path);
    }
    bool RemoveFile(const std::u16string& p) const override { return m_real.RemoveFile(p); }
    bool MoveReplace(const std::u16string& f, const std::u16string& t) const override
    {
        return m_real.MoveReplace(f, t);
    }
    std::u16string ResolveLinks(const std::u16string& p) const override { return m_real.ResolveLinks(p); }
    std::vector<std::u16string> FilesStartingWith(const std::u16string& p) const override
    {
        return m_real.FilesStartingWith(p);
    }
    std::vector<std::u16string> FoldersStartingWith(const std::u16string& p) const override
    {
        return m_real.FoldersStartingWith(p);
    }
    bool RemoveFolder(const std::u16string& p) const override { return m_real.RemoveFolder(p); }
    bool IsProcessRunning(uint32_t id) const override { return m_real.IsProcessRunning(id); }
    // FindOnPathVariable is not forwarded: the machine's PATH would decide what a test sees.
    bool GetFileInfo(const std::u16string& p, platform::SFileInfo& i) const override
    {
        return m_real.GetFileInfo(p, i);
    }
    bool IsSameFile(const std::u16string& a, const std::u16string& b) const override
    {
        return m_real.IsSameFile(a, b);
    }
    bool FitsNarrowArguments(const std::u16string& p) const override { return m_real.FitsNarrowArguments(p); }
    std::u16string ShortPath(const std::u16string& p) const override { return m_real.ShortPath(p); }
    bool MakeHardLink(const std::u16string& link, const std::u16string& target) const override
    {
        return m_real.MakeHardLink(link, target);
    }
    bool CopyFileTo(const std::u16string& from, const std::u16string& to, bool bReplace) const override
    {
        return m_real.CopyFileTo(from, to, bReplace);
    }
    std::u16string TempFolder() const override { return m_real.TempFolder(); }
    uint32_t CurrentProcessId() const override { return m_real.CurrentProcessId(); }
    bool IsCommandLineTooLong(const platform::SCommandLine& c) const override
    {
        return m_real.IsCommandLineTooLong(c);
    }
    platform::CProcess StartProcessWithPipe(const platform::SCommandLine& c, platform::CPipeReadEnd& r,
                                            std::u16string& e) const override
    {
        return m_real.StartProcessWithPipe(c, r, e);
    }
    platform::EPipeRead ReadPipe(platform::CPipeReadEnd& p, char* b, size_t s, size_t& n,
                                 unsigned ms) const override
    {
        return m_real.ReadPipe(p, b, s, n, ms);
    }
    bool WaitForExit(platform::CProcess& p, unsigned ms, int& code) const override
    {
        return m_real.WaitForExit(p, ms, code);
    }
    void StopProcess(platform::CProcess& p) const override { m_real.StopProcess(p); }
    size_t Write(std::FILE* f, const void* b, size_t n) const override { return m_real.Write(f, b, n); }
    size_t Read(std::FILE* f, void* b, size_t n) const override { return m_real.Read(f, b, n); }
    int64_t FileLength(std::FILE* f) const override { return m_real.FileLength(f); }
    bool FlushToDisk(std::FILE* f) const override { return m_real.FlushToDisk(f); }
    bool SetFileLength(std::FILE* f, int64_t n) const override { return m_real.SetFileLength(f, n); }
    bool CloseFile(platform::CFile& f) const override { return m_real.CloseFile(f); }
    bool FileOpensForReading(const std::u16string& p) const override { return m_real.FileOpensForReading(p); }
    std::u16string ExecutableFileName(const std::u16string& b) const override
    {
        return m_real.ExecutableFileName(b);
    }
    std::u16string FindOnSearchPath(const std::u16string& n) const override
    {
        return m_real.FindOnSearchPath(n);
    }

protected:
    const platform::COs& m_real = platform::RealOs();
};

// Real services whose executable, documents and application-data folders lie in one folder,
// so a store built on it never touches the user's own folders.
class RedirectedOs : public ForwardingOs {
public:
    explicit RedirectedOs(const TempDir& dir) : m_dir(dir.u16()) {}
    explicit RedirectedOs(std::u16string dir) : m_dir(std::move(dir)) {}
    std::u16string ExecutablePath() const override { return m_dir + PathSeparator() + u"host.exe"; }
    std::u16string DocumentsFolder() const override { return m_dir; }
    std::u16string AppDataFolder() const override { return m_dir; }

private:
    std::u16string m_dir;
};

// Every entry of the four maps in their iteration order, one "type:key=value" line each
// (binary values in hex, "-" for an empty one). writtenOnly: only what Save writes.
std::string Dump(const lvp::CSettingsStore& store, bool writtenOnly = false);
std::string Utf8(const std::u16string& text);
