// Program names on Windows; enfuse is looked for in the dialog's own path alone, the alignment
// program along PATH too.
#include "platform/real_os.h"

#include "platform/win32/windows_prelude.h"

#include <string_view>
#include <vector>

namespace platform {
namespace {
// A folder of PATH that gives a full path: a drive's ("C:\...") or a share's ("\\server\...").
bool IsAbsoluteFolder(const std::u16string& folder)
{
    return (folder.size() >= 3 && folder[1] == u':' && (folder[2] == u'\\' || folder[2] == u'/')) ||
           folder.starts_with(u"\\\\");
}
} // namespace

std::u16string CRealOs::ExecutableFileName(const std::u16string& base) const
{
    return base + u".exe";
}

// Windows looks for programs along no search path here.
std::u16string CRealOs::FindOnSearchPath(const std::u16string&) const
{
    return {};
}

std::u16string CRealOs::FindOnPathVariable(const std::u16string& name) const
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
        if (!IsAbsoluteFolder(folder))
            continue;
        if (folder.back() != u'\\' && folder.back() != u'/')
            folder.push_back(u'\\');
        folder.append(name);
        const DWORD attrs = ::GetFileAttributesW(reinterpret_cast<const wchar_t*>(folder.c_str()));
        if (attrs != INVALID_FILE_ATTRIBUTES && !(attrs & FILE_ATTRIBUTE_DIRECTORY))
            return folder;
    }
    return {};
}
} // namespace platform
