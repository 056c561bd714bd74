// POSIX: file information from stat.
#include "platform/real_os.h"

#include "platform/utf.h"

#include <sys/stat.h>

namespace platform {
bool CRealOs::GetFileInfo(const std::u16string& path, SFileInfo& info) const
{
    struct stat st;
    if (path.empty() || ::stat(Utf16ToUtf8(path).c_str(), &st) != 0)
        return false;
    info.bFolder = S_ISDIR(st.st_mode);
    info.nSize = st.st_size;
    info.nWriteTime = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return true;
}

bool CRealOs::IsSameFile(const std::u16string& a, const std::u16string& b) const
{
    struct stat sa, sb;
    return !a.empty() && !b.empty() && ::stat(Utf16ToUtf8(a).c_str(), &sa) == 0 &&
           ::stat(Utf16ToUtf8(b).c_str(), &sb) == 0 && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}
} // namespace platform
