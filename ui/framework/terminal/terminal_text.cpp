// Wide text, pane lines, field editing and the open-file prompt's listing, without a terminal.
#include "ui/framework/terminal/terminal_text.h"

#include "platform/utf.h"

#include <algorithm>
#include <cctype>
#include <cwchar>
#include <fnmatch.h>
#include <system_error>

namespace lvp::terminal {
namespace {
// Sizes in UTF-16 units of the characters at and before position i, as the caret counts.
int UnitsAt(std::u16string_view t, size_t i)
{
    return static_cast<int>(platform::UnitsAt(t, i));
}
int UnitsBefore(std::u16string_view t, size_t i)
{
    return static_cast<int>(platform::UnitsBefore(t, i));
}

bool EndsWithNoCase(const std::string& s, std::string_view suffix)
{
    if (s.size() < suffix.size())
        return false;
    return std::equal(suffix.begin(), suffix.end(), s.end() - static_cast<std::ptrdiff_t>(suffix.size()),
                      [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
}

std::string NativePattern(std::u16string_view pattern)
{
    std::string p = platform::Utf16ToUtf8(pattern);
    if (EndsWithNoCase(p, ".exe"))
        p.resize(p.size() - 4);
    return p.empty() ? "*" : p;
}

// The folder part of a typed path (with its last '/') and the part after it.
void SplitTyped(const std::string& typed, std::string& dir, std::string& leaf)
{
    size_t slash = typed.rfind('/');
    dir = slash == std::string::npos ? std::string() : typed.substr(0, slash + 1);
    leaf = slash == std::string::npos ? typed : typed.substr(slash + 1);
}
} // namespace

std::wstring ToWide(std::u16string_view t)
{
    std::wstring out;
    out.reserve(t.size());
    for (size_t i = 0; i < t.size(); i += platform::UnitsAt(t, i)) {
        const char32_t cp = platform::CodePointAt(t, i);
        out +=
            static_cast<wchar_t>(platform::IsHighSurrogate(cp) || platform::IsLowSurrogate(cp) ? 0xFFFD : cp);
    }
    return out;
}

int CellWidth(wchar_t c)
{
    int n = ::wcwidth(c);
    return n < 0 ? 1 : n;
}

std::vector<std::wstring> WrapLines(std::u16string_view text, int nWidth)
{
    CPaneLines index;
    index.Update(text, nWidth, true);
    std::vector<std::wstring> lines;
    lines.reserve(static_cast<size_t>(index.Count()));
    for (int i = 0; i < index.Count(); ++i)
        lines.push_back(index.Line(text, i));
    return lines;
}

void CPaneLines::Update(std::u16string_view text, int nWidth, bool bRestart)
{
    nWidth = std::max(nWidth, 1);
    if (bRestart || nWidth != m_nWidth || text.size() < m_nDone) {
        m_starts.assign(1, 0);
        m_nDone = 0;
        m_nCells = 0;
        m_nWidth = nWidth;
    }
    for (size_t i = m_nDone; i < text.size(); i += static_cast<size_t>(UnitsAt(text, i))) {
        const char16_t u = text[i];
        if (u == u'\r')
            continue;
        if (u == u'\n') {
            m_starts.push_back(i + 1);
            m_nCells = 0;
            continue;
        }
        const int w = u == u'\t' ? 1 : CellWidth(static_cast<wchar_t>(platform::CodePointAt(text, i)));
        if (m_nCells + w > m_nWidth && m_nCells > 0) {
            m_starts.push_back(i);
            m_nCells = 0;
        }
        m_nCells += w;
    }
    m_nDone = text.size();
}

std::wstring CPaneLines::Line(std::u16string_view text, int i) const
{
    const size_t nLine = static_cast<size_t>(i);
    const size_t nStart = std::min(m_starts[nLine], text.size());
    const size_t nEnd = std::min(nLine + 1 < m_starts.size() ? m_starts[nLine + 1] : m_nDone, text.size());
    std::wstring line;
    for (wchar_t c : ToWide(text.substr(nStart, nEnd - nStart))) {
        if (c != L'\r' && c != L'\n')
            line += c == L'\t' ? L' ' : c;
    }
    return line;
}

namespace {
// Replaces the selection by the character, unless the text would then pass the limit.
void InsertChar(SFieldText& f, char32_t c)
{
    const int nStart = std::min(f.nAnchor, f.nCaret), nEnd = std::max(f.nAnchor, f.nCaret);
    std::u16string add;
    platform::AppendUtf16(add, c);
    if (f.strText.size() - static_cast<size_t>(nEnd - nStart) + add.size() > f.nLimit)
        return;
    f.strText.replace(static_cast<size_t>(nStart), static_cast<size_t>(nEnd - nStart), add);
    f.nCaret = f.nAnchor = nStart + static_cast<int>(add.size());
}
} // namespace

bool ApplyFieldKey(SFieldText& f, const SKey& key, bool bReadOnly)
{
    const std::u16string_view t = f.strText;
    const int nLen = static_cast<int>(t.size());
    const int nStart = std::min(f.nAnchor, f.nCaret), nEnd = std::max(f.nAnchor, f.nCaret);
    switch (key.key) {
    case EKey::Char:
        if (bReadOnly)
            return false;
        InsertChar(f, key.ch);
        return true;
    case EKey::Left:
        f.nCaret =
            nStart != nEnd ? nStart : std::max(0, f.nCaret - (f.nCaret > 0 ? UnitsBefore(t, f.nCaret) : 0));
        break;
    case EKey::Right:
        f.nCaret =
            nStart != nEnd ? nEnd : std::min(nLen, f.nCaret + (f.nCaret < nLen ? UnitsAt(t, f.nCaret) : 0));
        break;
    case EKey::Home:
        f.nCaret = 0;
        break;
    case EKey::End:
        f.nCaret = nLen;
        break;
    case EKey::Backspace:
    case EKey::Delete:
        if (bReadOnly)
            return false;
        if (nStart != nEnd) {
            f.strText.erase(static_cast<size_t>(nStart), static_cast<size_t>(nEnd - nStart));
            f.nCaret = nStart;
        } else if (key.key == EKey::Backspace && f.nCaret > 0) {
            int n = UnitsBefore(t, f.nCaret);
            f.strText.erase(static_cast<size_t>(f.nCaret - n), static_cast<size_t>(n));
            f.nCaret -= n;
        } else if (key.key == EKey::Delete && f.nCaret < nLen)
            f.strText.erase(static_cast<size_t>(f.nCaret), static_cast<size_t>(UnitsAt(t, f.nCaret)));
        break;
    default:
        return false;
    }
    f.nAnchor = f.nCaret;
    return true;
}

int CharsBefore(std::u16string_view text, int nUnits)
{
    return static_cast<int>(
        ToWide(text.substr(0, static_cast<size_t>(std::clamp(nUnits, 0, static_cast<int>(text.size())))))
            .size());
}

int ScrollToCaret(const std::wstring& text, int nCaret, int nFirst, int nWidth)
{
    nWidth = std::max(nWidth, 1);
    nFirst = std::clamp(nFirst, 0, nCaret);
    // The caret needs a cell of its own after the characters before it.
    auto cells = [&](int from) {
        int n = 1;
        for (int i = from; i < nCaret; ++i)
            n += CellWidth(text[static_cast<size_t>(i)]);
        return n;
    };
    while (nFirst < nCaret && cells(nFirst) > nWidth)
        ++nFirst;
    return nFirst;
}

std::vector<SFilterEntry> ParseFilter(std::u16string_view filter)
{
    std::vector<std::u16string_view> parts;
    size_t at = 0;
    while (at < filter.size()) {
        size_t bar = filter.find(u'|', at);
        if (bar == std::u16string_view::npos)
            bar = filter.size();
        parts.push_back(filter.substr(at, bar - at));
        at = bar + 1;
    }
    std::vector<SFilterEntry> out;
    for (size_t i = 0; i + 1 < parts.size() && !parts[i].empty(); i += 2)
        out.push_back({std::u16string(parts[i]), NativePattern(parts[i + 1])});
    return out;
}

SPromptListing ListCandidates(const std::string& typed, const std::string& pattern)
{
    std::string dir, leaf;
    SplitTyped(typed, dir, leaf);
    SPromptListing out{dir.empty() ? std::filesystem::path(".") : std::filesystem::path(dir), {}};
    std::error_code ec;
    for (std::filesystem::directory_iterator it(out.folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::string name = it->path().filename().string();
        if (name.compare(0, leaf.size(), leaf) != 0 || (name[0] == '.' && (leaf.empty() || leaf[0] != '.')))
            continue;
        std::error_code ecDir;
        if (it->is_directory(ecDir))
            out.entries.push_back(name + "/");
        else if (::fnmatch(pattern.c_str(), name.c_str(), FNM_PERIOD) == 0)
            out.entries.push_back(name);
    }
    std::sort(out.entries.begin(), out.entries.end());
    return out;
}

std::string Complete(const std::string& typed, const std::string& pattern)
{
    std::string dir, leaf;
    SplitTyped(typed, dir, leaf);
    const std::vector<std::string> names = ListCandidates(typed, pattern).entries;
    if (names.empty())
        return typed;
    std::string common = names.front();
    for (const std::string& n : names) {
        size_t i = 0;
        while (i < common.size() && i < n.size() && common[i] == n[i])
            ++i;
        common.resize(i);
    }
    return common.size() > leaf.size() ? dir + common : typed;
}

std::string ResolvePromptPath(const std::string& typed, const std::string& defExt)
{
    std::error_code ec;
    std::filesystem::path p = std::filesystem::absolute(typed, ec);
    if (ec)
        p = typed;
    p = p.lexically_normal();
    if (!std::filesystem::exists(p, ec) && !p.has_extension() && !defExt.empty() && p.has_filename())
        p += "." + defExt;
    return p.string();
}
std::wstring ProgressLine(int nPos, int nRange, std::u16string_view text, int nBarCells)
{
    nRange = std::max(1, nRange);
    nPos = std::clamp(nPos, 0, nRange);
    nBarCells = std::max(1, nBarCells);
    const int nFilled = static_cast<int>(static_cast<long long>(nPos) * nBarCells / nRange);
    const int nPercent = static_cast<int>(static_cast<long long>(nPos) * 100 / nRange);
    std::wstring line = L"[";
    line.append(static_cast<size_t>(nFilled), L'#');
    line.append(static_cast<size_t>(nBarCells - nFilled), L'.');
    line.append(L"] ");
    std::wstring percent = std::to_wstring(nPercent);
    line.append(3 - percent.size(), L' ').append(percent).append(L" %");
    if (!text.empty())
        line.append(L"  ").append(ToWide(text));
    return line;
}
} // namespace lvp::terminal
