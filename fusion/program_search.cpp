// The search for an external program along PATH and in the installers' folders, and the file
// that a program's path or name gives.
#include "fusion/program_search.h"

#include "platform/path.h"

#include <algorithm>
#include <vector>

namespace lvp {
namespace {
constexpr char16_t kHugin[] = u"Hugin";
constexpr char16_t kEnblendFolders[] = u"enblend-enfuse";
constexpr char16_t kBin[] = u"bin";

bool IsDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

char16_t FoldAscii(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

// The run of digits at the start of text, its leading zeros dropped (so that it compares as a
// number by length, then by digit, at any length).
std::u16string_view Number(std::u16string_view text, size_t& nLength)
{
    nLength = 0;
    while (nLength < text.size() && IsDigit(text[nLength]))
        ++nLength;
    std::u16string_view digits = text.substr(0, nLength);
    while (digits.size() > 1 && digits.front() == u'0')
        digits.remove_prefix(1);
    return digits;
}

// <0, 0, >0 as a is older than, as old as, newer than b.
int CompareVersionNames(std::u16string_view a, std::u16string_view b)
{
    while (!a.empty() && !b.empty()) {
        if (IsDigit(a.front()) && IsDigit(b.front())) {
            size_t nA = 0, nB = 0;
            const std::u16string_view da = Number(a, nA), db = Number(b, nB);
            if (da.size() != db.size())
                return da.size() < db.size() ? -1 : 1;
            if (const int n = da.compare(db); n != 0)
                return n;
            a.remove_prefix(nA);
            b.remove_prefix(nB);
            continue;
        }
        const char16_t ca = FoldAscii(a.front()), cb = FoldAscii(b.front());
        if (ca != cb)
            return ca < cb ? -1 : 1;
        a.remove_prefix(1);
        b.remove_prefix(1);
    }
    return a.empty() == b.empty() ? 0 : (a.empty() ? -1 : 1);
}

// folder + sep + name.
std::u16string Child(std::u16string folder, std::u16string_view name, char16_t sep)
{
    platform::AppendSeparator(folder, sep);
    return folder.append(name);
}

bool Opens(const std::u16string& path, const platform::COs& os)
{
    return !path.empty() && os.FileOpensForReading(path);
}

// The root's enblend-enfuse* folders, newest version first.
std::vector<std::u16string> EnblendFolders(const std::u16string& root, const platform::COs& os)
{
    const char16_t sep = os.PathSeparator();
    std::vector<std::u16string> folders = os.FoldersStartingWith(Child(root, kEnblendFolders, sep));
    const std::u16string_view seps(&sep, 1);
    std::sort(folders.begin(), folders.end(), [seps](const std::u16string& a, const std::u16string& b) {
        return IsNewerVersionName(platform::FileNameOf(a, seps), platform::FileNameOf(b, seps));
    });
    return folders;
}

// The first file of that name that opens: along PATH, then in each root's Hugin\bin, then in
// each root's enblend-enfuse folders.
std::u16string FindInstalledFile(const std::u16string& name, const platform::COs& os)
{
    if (std::u16string onPath = os.FindOnPathVariable(name); Opens(onPath, os))
        return onPath;
    const char16_t sep = os.PathSeparator();
    const std::vector<std::u16string> roots = os.ProgramInstallRoots();
    for (const std::u16string& root : roots) {
        if (std::u16string hugin = Child(Child(Child(root, kHugin, sep), kBin, sep), name, sep); Opens(hugin, os))
            return hugin;
    }
    for (const std::u16string& root : roots) {
        for (const std::u16string& folder : EnblendFolders(root, os)) {
            if (std::u16string direct = Child(folder, name, sep); Opens(direct, os))
                return direct;
            if (std::u16string inBin = Child(Child(folder, kBin, sep), name, sep); Opens(inBin, os))
                return inBin;
        }
    }
    return {};
}

// Windows takes "C:name" for a file in the current folder of drive C.
bool IsDriveLetter(char16_t c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}
bool HasDrive(std::u16string_view path, char16_t sep)
{
    return sep == u'\\' && path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == u':';
}

// The path names its file whatever the current folder and drive: POSIX "/..."; Windows a drive
// and a separator, or two separators first (a share, a device path).
bool IsFullPath(std::u16string_view path, char16_t sep, std::u16string_view seps)
{
    auto sepAt = [path, seps](size_t i) { return i < path.size() && seps.find(path[i]) != seps.npos; };
    if (sep != u'\\')
        return sepAt(0);
    return (HasDrive(path, sep) && sepAt(2)) || (sepAt(0) && sepAt(1));
}
} // namespace

bool IsNewerVersionName(std::u16string_view a, std::u16string_view b)
{
    const int n = CompareVersionNames(a, b);
    return n != 0 ? n > 0 : a > b;
}

std::u16string FindInstalledProgram(const std::u16string& base, const platform::COs& os)
{
    return FindInstalledFile(os.ExecutableFileName(base), os);
}

std::u16string ResolveProgram(const std::u16string& text, const platform::COs& os)
{
    const char16_t sep = os.PathSeparator();
    if (text.empty() || IsFullPath(text, sep, os.PathSeparators()))
        return text;
    if (text.find_first_of(os.PathSeparators()) == std::u16string::npos && !HasDrive(text, sep))
        return FindInstalledFile(text, os);
    std::u16string full;
    return os.FullPath(text, full) ? full : std::u16string();
}
} // namespace lvp
