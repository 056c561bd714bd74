// Files and folders on Windows: module path, shell folders, drive types, files opened fully shared.
#include "platform/path.h"
#include "platform/real_os.h"
#include "platform/temp_name.h"

#include "platform/win32/full_path.h"
#include "platform/win32/scoped.h"

#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>

#include <cstdint>
#include <utility>

namespace platform {
namespace {
constexpr DWORD kBuffer = MAX_PATH; // 260 characters, the terminator included

const wchar_t* W(const std::u16string& s)
{
    return reinterpret_cast<const wchar_t*>(s.c_str());
}
std::u16string U(const wchar_t* s)
{
    return std::u16string(reinterpret_cast<const char16_t*>(s));
}

// Opens a regular disk file as a stdio stream. Others may read, write, delete and rename it
// meanwhile (FILE_SHARE_DELETE lets another process put a new settings file in its place
// while this one reads the old). error receives GetLastError on failure.
CFile OpenShared(const std::u16string& path, DWORD access, DWORD disposition, int flags, const char* mode,
                 DWORD& error)
{
    win32::CAutoHandle handle(CreateFileW(W(path), access,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                          disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
    error = GetLastError();
    if (!handle)
        return CFile();
    if (GetFileType(handle.Get()) != FILE_TYPE_DISK) {
        error = ERROR_ACCESS_DENIED;
        return CFile();
    }
    win32::CAutoCrtFd fd(_open_osfhandle(reinterpret_cast<intptr_t>(handle.Get()), flags | _O_BINARY));
    if (!fd)
        return CFile();
    handle.Release(); // the descriptor closes it now
    CFile file(_fdopen(fd.Get(), mode));
    if (file)
        fd.Release();
    return file;
}
CFile OpenShared(const std::u16string& path, DWORD access, DWORD disposition, int flags, const char* mode)
{
    DWORD error;
    return OpenShared(path, access, disposition, flags, mode, error);
}

std::u16string ShellFolder(int csidl)
{
    wchar_t buf[kBuffer] = {};
    bool ok = false;
    win32::CAutoItemIdList pidl;
    if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, csidl, pidl.Out())) && pidl)
        ok = SHGetPathFromIDListW(pidl.Get(), buf) != FALSE;
    buf[kBuffer - 1] = L'\0';
    return ok ? U(buf) : std::u16string();
}
} // namespace

char16_t CRealOs::PathSeparator() const
{
    return u'\\';
}
size_t CRealOs::MaxPathLength() const
{
    return kBuffer - 1;
}

std::u16string CRealOs::ExecutablePath() const
{
    wchar_t buf[kBuffer] = {};
    DWORD n = GetModuleFileNameW(nullptr, buf, kBuffer);
    // n == kBuffer: the path was cut to fit, which counts as a failure.
    return n == 0 || n >= kBuffer ? std::u16string() : U(buf);
}

std::u16string CRealOs::DocumentsFolder() const
{
    return ShellFolder(CSIDL_PERSONAL);
}
std::u16string CRealOs::AppDataFolder() const
{
    return ShellFolder(CSIDL_APPDATA);
}

bool CRealOs::IsCdRom(const std::u16string& path) const
{
    return GetDriveTypeW(W(path)) == DRIVE_CDROM;
}

bool win32::FullPathWithin(const std::u16string& path, std::u16string& full, size_t maxLength)
{
    DWORD n = GetFullPathNameW(W(path), 0, nullptr, nullptr);
    if (path.empty() || n == 0)
        return false;
    std::u16string out(n, u'\0');
    DWORD m = GetFullPathNameW(W(path), n, reinterpret_cast<wchar_t*>(out.data()), nullptr);
    if (m == 0 || m >= n || m > maxLength)
        return false;
    out.resize(m);
    full = std::move(out);
    return true;
}

bool CRealOs::FullPath(const std::u16string& path, std::u16string& full) const
{
    return win32::FullPathWithin(path, full, MaxPathLength());
}

bool CRealOs::Exists(const std::u16string& path) const
{
    return GetFileAttributesW(W(path)) != INVALID_FILE_ATTRIBUTES;
}

bool CRealOs::CreateFolder(const std::u16string& path) const
{
    return CreateDirectoryW(W(path), nullptr) != FALSE;
}

bool CRealOs::IsReadOnlyFile(const std::u16string& path) const
{
    DWORD attrs = GetFileAttributesW(W(path));
    if (attrs == INVALID_FILE_ATTRIBUTES || (attrs & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    if (attrs & FILE_ATTRIBUTE_READONLY)
        return true;
    return !CFile(_wfsopen(W(path), L"ab", _SH_DENYNO)); // "ab": no truncation
}

CFile CRealOs::OpenForReading(const std::u16string& path) const
{
    return OpenShared(path, GENERIC_READ, OPEN_EXISTING, _O_RDONLY, "rb");
}
CFile CRealOs::OpenForWriting(const std::u16string& path) const
{
    return OpenShared(path, GENERIC_WRITE, CREATE_ALWAYS, 0, "wb");
}
// CREATE_NEW fails on any existing name, a link included, so nothing is written through one.
CFile CRealOs::CreateNewFile(const std::u16string& path) const
{
    return OpenShared(path, GENERIC_WRITE, CREATE_NEW, 0, "wb");
}
CFile CRealOs::OpenForUpdate(const std::u16string& path) const
{
    return OpenShared(path, GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING, 0, "r+b");
}

CFile CRealOs::CreateUniqueFile(const std::u16string& prefix, const std::u16string& suffix,
                                std::u16string& path) const
{
    // Another name is tried only when the name is taken; any other refusal is the folder's.
    for (int attempt = 0; attempt < 100; ++attempt) {
        path = UniqueName(prefix, suffix, CRealOs::CurrentProcessId());
        DWORD error = 0;
        CFile file = OpenShared(path, GENERIC_WRITE, CREATE_NEW, 0, "wb", error);
        if (file || (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS))
            return file;
    }
    return CFile();
}

uint32_t CRealOs::CurrentProcessId() const
{
    return GetCurrentProcessId();
}

bool CRealOs::IsProcessRunning(uint32_t processId) const
{
    win32::CAutoHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process)
        return GetLastError() == ERROR_ACCESS_DENIED; // there, but not ours to inspect
    DWORD code = 0;
    return GetExitCodeProcess(process.Get(), &code) && code == STILL_ACTIVE;
}

namespace {

// Removes the folder and all in it; a folder link (reparse point) inside is removed, not followed.
bool RemoveTree(const std::u16string& folder)
{
    bool bOk = true;
    WIN32_FIND_DATAW data;
    if (win32::CAutoFind find(FindFirstFileW(W(folder + u"\\*"), &data)); find) {
        do {
            const std::u16string name = reinterpret_cast<const char16_t*>(data.cFileName);
            if (name == u"." || name == u"..")
                continue;
            const std::u16string path = folder + u'\\' + name;
            const DWORD attributes = data.dwFileAttributes;
            bool bRemoved = false;
            if ((attributes & FILE_ATTRIBUTE_DIRECTORY) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
                bRemoved = RemoveTree(path);
            } else if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
                bRemoved = RemoveDirectoryW(W(path)) != FALSE;
            } else {
                if (attributes & FILE_ATTRIBUTE_READONLY)
                    SetFileAttributesW(W(path), attributes & ~FILE_ATTRIBUTE_READONLY);
                bRemoved = DeleteFileW(W(path)) != FALSE;
            }
            bOk = bRemoved && bOk;
        } while (FindNextFileW(find.Get(), &data));
    }
    return bOk && RemoveDirectoryW(W(folder)) != FALSE;
}
} // namespace

std::vector<std::u16string> CRealOs::EntriesStartingWith(const std::u16string& prefix, bool bFolders)
{
    const std::u16string folder(FolderOf(prefix, RealOs().PathSeparators()));
    const std::u16string start = prefix.substr(folder.size());
    std::vector<std::u16string> paths;
    WIN32_FIND_DATAW data;
    win32::CAutoFind find(FindFirstFileW(W(prefix + u"*"), &data));
    if (!find)
        return paths;
    do {
        // The pattern also matches short names, and "x.*" matches "x" itself.
        const std::u16string name = reinterpret_cast<const char16_t*>(data.cFileName);
        const bool bFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (bFolder == bFolders && name.starts_with(start) && name != u"." && name != u"..")
            paths.push_back(folder + name);
    } while (FindNextFileW(find.Get(), &data));
    return paths;
}

bool CRealOs::RemoveFolderTree(const std::u16string& path) const
{
    return !path.empty() && RemoveTree(path);
}

int64_t CRealOs::FileLength(std::FILE* file) const
{
    return _filelengthi64(_fileno(file));
}

bool CRealOs::FlushToDisk(std::FILE* file) const
{
    return std::fflush(file) == 0 && _commit(_fileno(file)) == 0;
}

bool CRealOs::SetFileLength(std::FILE* file, int64_t length) const
{
    return std::fflush(file) == 0 && _chsize_s(_fileno(file), length) == 0;
}

std::u16string CRealOs::ResolveLinks(const std::u16string& path) const
{
    win32::CAutoHandle handle(CreateFileW(W(path), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!handle)
        return path;
    wchar_t buf[kBuffer + 8] = {};
    const DWORD n =
        GetFinalPathNameByHandleW(handle.Get(), buf, kBuffer + 8, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (n == 0 || n >= kBuffer + 8)
        return path;
    std::u16string final = U(buf);
    if (final.starts_with(u"\\\\?\\UNC\\"))
        final = u"\\\\" + final.substr(8);
    else if (final.starts_with(u"\\\\?\\"))
        final.erase(0, 4);
    return final.empty() || final.size() > kBuffer - 1 ? path : final;
}

bool CRealOs::RemoveFile(const std::u16string& path) const
{
    return DeleteFileW(W(path)) != FALSE;
}

bool CRealOs::MoveReplace(const std::u16string& from, const std::u16string& to) const
{
    // A reader that opened the old file without FILE_SHARE_DELETE (another program, a virus
    // scanner) holds the replace off for a moment: try again for about half a second.
    for (int attempt = 0;; ++attempt) {
        if (MoveFileExW(W(from), W(to), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        const DWORD error = GetLastError();
        if (attempt == 25 || (error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED))
            return false;
        Sleep(20);
    }
}
} // namespace platform
