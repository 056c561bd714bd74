// Files and folders on Windows: module path, shell folders, drive types, _wfsopen with sharing.
#include "platform/fs.h"

#include "platform/win32/scoped.h"

#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>

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

char16_t PathSeparator()
{
    return u'\\';
}
size_t MaxPathLength()
{
    return kBuffer - 1;
}

std::u16string ExecutablePath()
{
    wchar_t buf[kBuffer] = {};
    DWORD n = GetModuleFileNameW(nullptr, buf, kBuffer);
    // n == kBuffer: the path was cut to fit, which counts as a failure.
    return n == 0 || n >= kBuffer ? std::u16string() : U(buf);
}

std::u16string DocumentsFolder()
{
    return ShellFolder(CSIDL_PERSONAL);
}
std::u16string AppDataFolder()
{
    return ShellFolder(CSIDL_APPDATA);
}

bool IsCdRom(const std::u16string& path)
{
    return GetDriveTypeW(W(path)) == DRIVE_CDROM;
}

bool FullPath(const std::u16string& path, std::u16string& full)
{
    wchar_t buf[kBuffer] = {};
    DWORD n = GetFullPathNameW(W(path), kBuffer, buf, nullptr);
    if (n == 0 || n >= kBuffer)
        return false;
    full = U(buf);
    return true;
}

bool Exists(const std::u16string& path)
{
    return GetFileAttributesW(W(path)) != INVALID_FILE_ATTRIBUTES;
}

bool CreateFolder(const std::u16string& path)
{
    return CreateDirectoryW(W(path), nullptr) != FALSE;
}

bool IsReadOnlyFile(const std::u16string& path)
{
    DWORD attrs = GetFileAttributesW(W(path));
    if (attrs == INVALID_FILE_ATTRIBUTES || (attrs & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    if (attrs & FILE_ATTRIBUTE_READONLY)
        return true;
    return !CFile(_wfsopen(W(path), L"ab", _SH_DENYNO)); // "ab": no truncation
}

CFile OpenForReading(const std::u16string& path)
{
    return CFile(_wfsopen(W(path), L"rb", _SH_DENYNO));
}
CFile OpenForWriting(const std::u16string& path)
{
    return CFile(_wfsopen(W(path), L"wb", _SH_DENYNO));
}

CFile CreateNewFile(const std::u16string& path)
{
    int fd = _wsopen(W(path), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _SH_DENYNO, _S_IREAD | _S_IWRITE);
    if (fd < 0)
        return CFile();
    CFile file(_fdopen(fd, "wb"));
    if (!file)
        _close(fd);
    return file;
}

int64_t FileLength(std::FILE* file)
{
    return _filelengthi64(_fileno(file));
}

bool FlushToDisk(std::FILE* file)
{
    return std::fflush(file) == 0 && _commit(_fileno(file)) == 0;
}

bool RemoveFile(const std::u16string& path)
{
    return DeleteFileW(W(path)) != FALSE;
}

bool MoveReplace(const std::u16string& from, const std::u16string& to)
{
    return MoveFileExW(W(from), W(to), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}
} // namespace platform
