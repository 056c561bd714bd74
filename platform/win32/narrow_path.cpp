// Windows: which paths a program with a narrow main() receives unchanged, short names checked
// against the volume's own, hard links, copies and the temporary folder.
#include "platform/real_os.h"

#include "platform/path.h"
#include "platform/win32/scoped.h"

#include <vector>

namespace platform {
namespace {
const wchar_t* W(const std::u16string& s)
{
    return reinterpret_cast<const wchar_t*>(s.c_str());
}

bool SameName(const std::u16string& a, const wchar_t* b)
{
    const int nB = lstrlenW(b);
    return CompareStringOrdinal(W(a), static_cast<int>(a.size()), b, nB, TRUE) == CSTR_EQUAL;
}

// Every component that the short form changed is the short name the volume lists for it.
bool VolumeAgrees(const std::u16string& longPath, const std::u16string& shortPath)
{
    const std::vector<std::u16string> longParts = PathComponents(longPath, RealOs().PathSeparators()),
                                      shortParts = PathComponents(shortPath, RealOs().PathSeparators());
    if (longParts.size() != shortParts.size())
        return false;
    std::u16string prefix;
    for (size_t i = 0; i < shortParts.size(); ++i) {
        prefix += (i ? u"\\" : u"") + shortParts[i];
        if (i == 0 || shortParts[i].empty() || SameName(shortParts[i], W(longParts[i])))
            continue;
        WIN32_FIND_DATAW data{};
        win32::CAutoFind find(FindFirstFileW(W(prefix), &data));
        if (!find ||
            !(SameName(shortParts[i], data.cAlternateFileName) || SameName(shortParts[i], data.cFileName)))
            return false;
    }
    return true;
}
} // namespace

bool CRealOs::FitsNarrowArguments(const std::u16string& path) const
{
    if (path.empty())
        return true;
    const UINT cp = GetACP();
    const DWORD flags = cp == CP_UTF8 ? WC_ERR_INVALID_CHARS : cp == CP_UTF7 ? 0 : WC_NO_BEST_FIT_CHARS;
    const bool bDefaultCheck = cp != CP_UTF8 && cp != CP_UTF7;
    BOOL bUsedDefault = FALSE;
    const int nWide = static_cast<int>(path.size());
    const int n = WideCharToMultiByte(cp, flags, W(path), nWide, nullptr, 0, nullptr,
                                      bDefaultCheck ? &bUsedDefault : nullptr);
    if (n <= 0 || bUsedDefault)
        return false;
    std::string narrow(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(cp, flags, W(path), nWide, narrow.data(), n, nullptr, nullptr);
    // And back: a character the page lacks must not come back as another one.
    const int m = MultiByteToWideChar(cp, MB_ERR_INVALID_CHARS, narrow.data(), n, nullptr, 0);
    if (m != nWide)
        return false;
    std::u16string back(static_cast<size_t>(m), u'\0');
    MultiByteToWideChar(cp, MB_ERR_INVALID_CHARS, narrow.data(), n, reinterpret_cast<wchar_t*>(back.data()),
                        m);
    return back == path;
}

std::u16string CRealOs::ShortPath(const std::u16string& path) const
{
    const DWORD n = GetShortPathNameW(W(path), nullptr, 0);
    if (n == 0)
        return {};
    std::u16string result(n, u'\0');
    const DWORD got = GetShortPathNameW(W(path), reinterpret_cast<wchar_t*>(result.data()), n);
    if (got == 0 || got >= n)
        return {};
    result.resize(got);
    return IsAscii(result) && VolumeAgrees(path, result) ? result : std::u16string();
}

bool CRealOs::MakeHardLink(const std::u16string& link, const std::u16string& target) const
{
    return CreateHardLinkW(W(link), W(target), nullptr) != FALSE;
}

bool CRealOs::CopyFileTo(const std::u16string& from, const std::u16string& to, bool bReplace) const
{
    return CopyFileW(W(from), W(to), bReplace ? FALSE : TRUE) != FALSE;
}

std::u16string CRealOs::TempFolder() const
{
    wchar_t buffer[MAX_PATH + 1];
    const DWORD n = GetTempPathW(MAX_PATH + 1, buffer);
    if (n == 0 || n > MAX_PATH)
        return {};
    std::u16string path(reinterpret_cast<const char16_t*>(buffer), n);
    while (path.size() > 3 && (path.back() == u'\\' || path.back() == u'/'))
        path.pop_back();
    return path;
}
} // namespace platform
