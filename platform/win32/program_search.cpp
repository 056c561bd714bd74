// Program names, the PATH search and the folders installers put programs into, on Windows.
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

// The value of an environment variable; empty when it is unset or cannot be read.
std::u16string EnvironmentValue(const wchar_t* name)
{
    const DWORD nSize = ::GetEnvironmentVariableW(name, nullptr, 0);
    if (nSize == 0)
        return {};
    std::vector<wchar_t> buffer(nSize);
    const DWORD nGot = ::GetEnvironmentVariableW(name, buffer.data(), nSize);
    if (nGot == 0 || nGot >= nSize)
        return {};
    return std::u16string(reinterpret_cast<const char16_t*>(buffer.data()), nGot);
}

// Two folder names that the file system takes for the same (it ignores case).
bool SameFolderName(const std::u16string& a, const std::u16string& b)
{
    return ::CompareStringOrdinal(reinterpret_cast<const wchar_t*>(a.c_str()), static_cast<int>(a.size()),
                                  reinterpret_cast<const wchar_t*>(b.c_str()), static_cast<int>(b.size()),
                                  TRUE) == CSTR_EQUAL;
}
} // namespace

std::u16string CRealOs::ExecutableFileName(const std::u16string& base) const
{
    return base + u".exe";
}

std::u16string CRealOs::FindOnPathVariable(const std::u16string& name) const
{
    if (name.empty() || name.find_first_of(u"\\/:") != std::u16string::npos)
        return {};
    const std::u16string path = EnvironmentValue(L"PATH");
    std::u16string_view rest(path);
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

// A 64-bit Windows names its two program folders by %ProgramW6432% (64-bit) and
// %ProgramFiles(x86)%; %ProgramFiles% is the one of the asking process's bitness.
std::vector<std::u16string> CRealOs::ProgramInstallRoots() const
{
    std::vector<std::u16string> roots;
    for (const wchar_t* name : {L"ProgramW6432", L"ProgramFiles", L"ProgramFiles(x86)"}) {
        std::u16string root = EnvironmentValue(name);
        while (root.size() > 3 && (root.back() == u'\\' || root.back() == u'/'))
            root.pop_back();
        if (root.empty())
            continue;
        bool bSeen = false;
        for (const std::u16string& known : roots)
            bSeen = bSeen || SameFolderName(known, root);
        if (!bSeen)
            roots.push_back(std::move(root));
    }
    return roots;
}
} // namespace platform
