// POSIX: arguments are bytes, so every path reaches a program as it is; links and copies.
#include "platform/real_os.h"

#include "platform/posix/scoped.h"
#include "platform/utf.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
bool CRealOs::FitsNarrowArguments(const std::u16string&) const
{
    return true;
}

std::u16string CRealOs::ShortPath(const std::u16string&) const
{
    return {};
}

bool CRealOs::MakeHardLink(const std::u16string& link, const std::u16string& target) const
{
    return ::link(Utf16ToUtf8(target).c_str(), Utf16ToUtf8(link).c_str()) == 0;
}

namespace {
bool CopyBytes(int in, int out)
{
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n == 0;
        for (ssize_t done = 0; done < n;) {
            ssize_t w = ::write(out, buffer + done, static_cast<size_t>(n - done));
            if (w < 0 && errno != EINTR)
                return false;
            done += w > 0 ? w : 0;
        }
    }
}
} // namespace

bool CRealOs::CopyFileTo(const std::u16string& from, const std::u16string& to, bool bReplace) const
{
    posix::CAutoFd in(::open(Utf16ToUtf8(from).c_str(), O_RDONLY | O_CLOEXEC));
    struct stat st;
    if (!in || ::fstat(in.Get(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    const std::string target = Utf16ToUtf8(to);
    const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW | (bReplace ? O_TRUNC : O_EXCL);
    posix::CAutoFd out(::open(target.c_str(), flags, st.st_mode & 0777));
    if (!out)
        return false;
    if (CopyBytes(in.Get(), out.Get()) && ::close(out.Release()) == 0)
        return true;
    ::unlink(target.c_str()); // no half copy stays behind
    return false;
}

std::u16string CRealOs::TempFolder() const
{
    const char* dir = std::getenv("TMPDIR");
    std::string path = dir && *dir == '/' ? dir : "/tmp";
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return Utf8ToUtf16(path);
}
} // namespace platform
