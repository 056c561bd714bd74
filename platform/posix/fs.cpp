// Files and folders on Linux: /proc/self/exe, XDG folders, statfs, open(2) with no share modes.
#include "platform/path.h"
#include "platform/posix/scoped.h"
#include "platform/real_os.h"
#include "platform/temp_name.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "platform/utf.h"

namespace platform {
namespace {
constexpr long kIso9660Magic = 0x9660;
constexpr long kUdfMagic = 0x15013346;

std::string Narrow(const std::u16string& path)
{
    return Utf16ToUtf8(path);
}

std::string Env(const char* name)
{
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

bool IsDirectory(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Turns an open descriptor of a regular file into a blocking stdio stream; closes it otherwise.
CFile AdoptRegular(int descriptor, const char* mode)
{
    posix::CAutoFd fd(descriptor);
    if (fd.Get() < 0)
        return CFile();
    struct stat st;
    if (fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode))
        return CFile();
    int flags = fcntl(fd.Get(), F_GETFL);
    if (flags != -1)
        fcntl(fd.Get(), F_SETFL, flags & ~O_NONBLOCK);
    CFile file(fdopen(fd.Get(), mode));
    if (file)
        fd.Release();
    return file;
}
} // namespace

char16_t CRealOs::PathSeparator() const
{
    return u'/';
}
size_t CRealOs::MaxPathLength() const
{
    return std::u16string::npos;
}

std::u16string CRealOs::ExecutablePath() const
{
    std::string buf(256, '\0');
    for (;;) {
        ssize_t n = readlink("/proc/self/exe", buf.data(), buf.size());
        if (n < 0)
            return {};
        if (static_cast<size_t>(n) < buf.size()) {
            buf.resize(static_cast<size_t>(n));
            return Utf8ToUtf16(buf);
        }
        buf.resize(buf.size() * 2);
    }
}

std::u16string CRealOs::DocumentsFolder() const
{
    std::string docs = Env("XDG_DOCUMENTS_DIR");
    if (!docs.empty())
        return Utf8ToUtf16(docs);
    std::string home = Env("HOME");
    if (home.empty())
        return {};
    std::string sub = home + "/Documents";
    return Utf8ToUtf16(IsDirectory(sub) ? sub : home);
}

std::u16string CRealOs::AppDataFolder() const
{
    std::string config = Env("XDG_CONFIG_HOME");
    if (!config.empty() && config[0] == '/')
        return Utf8ToUtf16(config);
    std::string home = Env("HOME");
    return home.empty() ? std::u16string() : Utf8ToUtf16(home + "/.config");
}

bool CRealOs::IsCdRom(const std::u16string& path) const
{
    struct statfs sf;
    if (statfs(Narrow(path).c_str(), &sf) != 0)
        return false;
    long type = static_cast<long>(sf.f_type);
    return type == kIso9660Magic || type == kUdfMagic;
}

namespace {
bool AbsolutePath(const std::u16string& path, std::u16string& full)
{
    if (path.empty())
        return false;
    if (path[0] == u'/') {
        full = path;
        return true;
    }
    std::string cwd(256, '\0');
    while (!getcwd(cwd.data(), cwd.size())) {
        if (errno != ERANGE)
            return false;
        cwd.resize(cwd.size() * 2);
    }
    cwd.resize(cwd.find('\0'));
    full = Utf8ToUtf16(cwd);
    if (path == u".")
        return true;
    if (full.empty() || full.back() != u'/')
        full += u'/';
    full += path;
    return true;
}
} // namespace

bool CRealOs::FullPath(const std::u16string& path, std::u16string& full) const
{
    const size_t maxLength = MaxPathLength();
    std::u16string out;
    if (!AbsolutePath(path, out) || out.size() > maxLength)
        return false;
    full = std::move(out);
    return true;
}

bool CRealOs::Exists(const std::u16string& path) const
{
    struct stat st;
    return stat(Narrow(path).c_str(), &st) == 0;
}

bool CRealOs::CreateFolder(const std::u16string& path) const
{
    return mkdir(Narrow(path).c_str(), 0777) == 0;
}

bool CRealOs::IsReadOnlyFile(const std::u16string& path) const
{
    std::string p = Narrow(path);
    struct stat st;
    if (stat(p.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    // No write bit at all means read-only, even for a user (root) whom the OS would let write.
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return true;
    posix::CAutoFd fd(open(p.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    return fd.Get() < 0 && (errno == EACCES || errno == EPERM || errno == EROFS);
}

// O_NONBLOCK keeps a FIFO planted under the name from blocking the open; AdoptRegular refuses it.
CFile CRealOs::OpenForReading(const std::u16string& path) const
{
    return AdoptRegular(open(Narrow(path).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY), "rb");
}

CFile CRealOs::OpenForWriting(const std::u16string& path) const
{
    int fd =
        open(Narrow(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0666);
    return AdoptRegular(fd, "wb");
}

CFile CRealOs::CreateNewFile(const std::u16string& path) const
{
    int fd =
        open(Narrow(path).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0666);
    return AdoptRegular(fd, "wb");
}

CFile CRealOs::OpenForUpdate(const std::u16string& path) const
{
    return AdoptRegular(open(Narrow(path).c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC | O_NOCTTY), "r+b");
}

CFile CRealOs::CreateUniqueFile(const std::u16string& prefix, const std::u16string& suffix,
                                std::u16string& path) const
{
    // Another name is tried only when the name is taken; any other refusal is the folder's.
    for (int attempt = 0; attempt < 100; ++attempt) {
        path = UniqueName(prefix, suffix, CRealOs::CurrentProcessId());
        CFile file = CRealOs::CreateNewFile(path);
        if (file || errno != EEXIST)
            return file;
    }
    return CFile();
}

uint32_t CRealOs::CurrentProcessId() const
{
    return static_cast<uint32_t>(getpid());
}

bool CRealOs::IsProcessRunning(uint32_t processId) const
{
    const auto pid = static_cast<pid_t>(processId);
    if (pid <= 0 || static_cast<uint32_t>(pid) != processId)
        return false;
    return kill(pid, 0) == 0 || errno == EPERM;
}

namespace {
// A folder, not followed through a link.
bool IsFolderEntry(DIR* dir, const dirent* entry)
{
    struct stat st;
    return entry->d_type == DT_DIR ||
           (entry->d_type == DT_UNKNOWN &&
            fstatat(dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode));
}

// Removes the folder name in the folder parent and all in it; links are removed, not followed.
bool RemoveTreeAt(int parent, const char* name)
{
    posix::CAutoFd fd(openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!fd)
        return false;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(fdopendir(fd.Get()), closedir);
    if (!dir)
        return false;
    (void)fd.Release(); // the stream closes it now
    bool bOk = true;
    while (const dirent* entry = readdir(dir.get())) {
        const std::string_view entryName(entry->d_name);
        if (entryName == "." || entryName == "..")
            continue;
        const bool bRemoved = IsFolderEntry(dir.get(), entry)
                                  ? RemoveTreeAt(dirfd(dir.get()), entry->d_name)
                                  : unlinkat(dirfd(dir.get()), entry->d_name, 0) == 0;
        bOk = bRemoved && bOk;
    }
    dir.reset();
    return bOk && unlinkat(parent, name, AT_REMOVEDIR) == 0;
}
} // namespace

std::vector<std::u16string> CRealOs::EntriesStartingWith(const std::u16string& prefix, bool bFolders)
{
    const std::u16string folder(FolderOf(prefix, u"/"));
    const std::string start = Narrow(prefix.substr(folder.size()));
    std::vector<std::u16string> paths;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.empty() ? "." : Narrow(folder).c_str()), closedir);
    if (!dir)
        return paths;
    while (const dirent* entry = readdir(dir.get())) {
        const std::string_view name(entry->d_name);
        if (!name.starts_with(start) || name == "." || name == ".." ||
            IsFolderEntry(dir.get(), entry) != bFolders)
            continue;
        paths.push_back(folder + Utf8ToUtf16(name));
    }
    return paths;
}

bool CRealOs::RemoveFolderTree(const std::u16string& path) const
{
    return !path.empty() && RemoveTreeAt(AT_FDCWD, Narrow(path).c_str());
}

int64_t CRealOs::FileLength(std::FILE* file) const
{
    struct stat st;
    return fstat(fileno(file), &st) == 0 ? static_cast<int64_t>(st.st_size) : -1;
}

bool CRealOs::FlushToDisk(std::FILE* file) const
{
    return std::fflush(file) == 0 && fsync(fileno(file)) == 0;
}

bool CRealOs::SetFileLength(std::FILE* file, int64_t length) const
{
    return std::fflush(file) == 0 && ftruncate(fileno(file), static_cast<off_t>(length)) == 0;
}

std::u16string CRealOs::ResolveLinks(const std::u16string& path) const
{
    std::string current = Narrow(path);
    // As many links as the kernel follows in one path (MAXSYMLINKS); a loop gives up.
    for (int hop = 0; hop < 40; ++hop) {
        struct stat st;
        if (lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return Utf8ToUtf16(current);
        std::string target(static_cast<size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
        const ssize_t n = readlink(current.c_str(), target.data(), target.size());
        if (n < 0 || static_cast<size_t>(n) >= target.size())
            return path;
        target.resize(static_cast<size_t>(n));
        if (target.empty() || target[0] != '/') {
            const size_t slash = current.rfind('/');
            if (slash != std::string::npos)
                target.insert(0, current, 0, slash + 1);
        }
        current = std::move(target);
    }
    return path;
}

bool CRealOs::RemoveFile(const std::u16string& path) const
{
    return unlink(Narrow(path).c_str()) == 0;
}

bool CRealOs::MoveReplace(const std::u16string& from, const std::u16string& to) const
{
    std::string src = Narrow(from), dst = Narrow(to);
    struct stat st;
    if (lstat(dst.c_str(), &st) == 0) {
        // A link is left in place: the caller then writes through it instead.
        if (S_ISLNK(st.st_mode))
            return false;
        chmod(src.c_str(), st.st_mode & 07777);
    }
    return rename(src.c_str(), dst.c_str()) == 0;
}
} // namespace platform
