// Program names, the PATH search and the (absent) install folders on POSIX.
#include "platform/real_os.h"
#include "platform/utf.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string_view>

namespace platform {
std::u16string CRealOs::ExecutableFileName(const std::u16string& base) const
{
    return base;
}

std::u16string CRealOs::FindOnPathVariable(const std::u16string& name) const
{
    const char* path = std::getenv("PATH");
    if (!path || name.empty() || name.find(u'/') != std::u16string::npos)
        return {};
    const std::string file = Utf16ToUtf8(name);
    std::string_view rest(path);
    while (true) {
        size_t colon = rest.find(':');
        std::string_view folder = rest.substr(0, colon);
        // An empty entry is the current folder, which the caller has already looked at; only
        // absolute folders give a full path.
        if (!folder.empty() && folder[0] == '/') {
            std::string candidate(folder);
            if (candidate.back() != '/')
                candidate += '/';
            candidate += file;
            struct stat st {};
            if (::stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
                ::access(candidate.c_str(), X_OK) == 0)
                return Utf8ToUtf16(candidate);
        }
        if (colon == std::string_view::npos)
            return {};
        rest.remove_prefix(colon + 1);
    }
}
} // namespace platform

namespace platform {
// Programs live on PATH here; no installer's folder is searched besides.
std::vector<std::u16string> CRealOs::ProgramInstallRoots() const
{
    return {};
}
} // namespace platform
