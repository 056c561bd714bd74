// Program names on Windows, and the search along PATH that only the alignment program uses
// (enfuse is looked for in the dialog's own path alone).
#include "platform/file_probe.h"

#include "platform/win32/windows_prelude.h"

#include <string_view>
#include <vector>

namespace platform {
std::u16string ExecutableFileName(const std::u16string& base)
{
    return base + u".exe";
}

bool HasSearchPath()
{
    return false;
}

std::u16string FindExecutableOnPath(const std::u16string& name)
{
    if (name.empty() || name.find_first_of(u"\\/:") != std::u16string::npos)
        return {};
    const DWORD nSize = ::GetEnvironmentVariableW(L"PATH", nullptr, 0);
    if (nSize == 0)
        return {};
    std::vector<wchar_t> buffer(nSize);
    const DWORD nGot = ::GetEnvironmentVariableW(L"PATH", buffer.data(), nSize);
    if (nGot == 0 || nGot >= nSize)
        return {};
    std::u16string_view rest(reinterpret_cast<const char16_t*>(buffer.data()), nGot);
    while (!rest.empty()) {
        const size_t nSemicolon = rest.find(u';');
        std::u16string folder(rest.substr(0, nSemicolon));
        rest.remove_prefix(nSemicolon == std::u16string_view::npos ? rest.size() : nSemicolon + 1);
        std::erase(folder, u'"');
        // Only absolute folders (a drive or a UNC share) give a full path.
        const bool bAbsolute = (folder.size() >= 3 && folder[1] == u':' && (folder[2] == u'\\' || folder[2] == u'/')) ||
                               folder.starts_with(u"\\\\");
        if (!bAbsolute)
            continue;
        if (folder.back() != u'\\' && folder.back() != u'/')
            folder += u'\\';
        folder += name;
        const DWORD attrs = ::GetFileAttributesW(reinterpret_cast<const wchar_t*>(folder.c_str()));
        if (attrs != INVALID_FILE_ATTRIBUTES && !(attrs & FILE_ATTRIBUTE_DIRECTORY))
            return folder;
    }
    return {};
}
} // namespace platform
