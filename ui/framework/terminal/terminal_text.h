// Text work of the terminal rendition that needs no terminal: wide text, the pane's lines, field
// editing, and the open-file prompt's filter, listing and completion.
#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace lvp::terminal {
// UTF-16 to the wide characters of ncursesw; a lone surrogate becomes U+FFFD.
std::wstring ToWide(std::u16string_view text);
// Terminal cells of one character: 0 for combining marks, 2 for wide ones, 1 for any other
// (a character the locale cannot print is shown as one cell).
int CellWidth(wchar_t c);

// A progress bar's status line: "[####......]  45 %  text" with a bar of nBarCells cells
// (at least one) for nPos of nRange; the percentage is 100 only at the end of the range.
std::wstring ProgressLine(int nPos, int nRange, std::u16string_view text, int nBarCells);

// A text as display lines of at most nWidth cells: a line feed ends a line, carriage returns are
// dropped, a tab shows as a blank, a long line wraps.
std::vector<std::wstring> WrapLines(std::u16string_view text, int nWidth);

// The display lines of WrapLines as an index of where each starts in the text. A long run adds
// to the pane's text many times: only what was added is wrapped, so the cost of an addition
// does not grow with the text before it.
class CPaneLines {
public:
    // Brings the index up to date with text. bRestart: the text changed other than by additions
    // at its end since the last call, so it is indexed anew (as it is when the width changes).
    void Update(std::u16string_view text, int nWidth, bool bRestart);
    int Count() const { return static_cast<int>(m_starts.size()); }
    // Display line i (0 <= i < Count()) of the text last given to Update.
    std::wstring Line(std::u16string_view text, int i) const;

private:
    std::vector<size_t> m_starts{0}; // first UTF-16 unit of each line
    size_t m_nDone = 0;              // units indexed so far
    int m_nCells = 0;                // cells of the last line so far
    int m_nWidth = 0;
};

// The keys the rendition tells apart (terminal_screen.cpp holds the one table that maps the
// terminal's codes to them): a printable character is Char, anything unknown Other.
enum class EKey {
    Other,
    Char,
    Enter,
    Escape,
    Tab,
    BackTab,
    Left,
    Right,
    Up,
    Down,
    PageUp,
    PageDown,
    Home,
    End,
    Backspace,
    Delete,
    Resize
};
struct SKey {
    EKey key = EKey::Other;
    char32_t ch = 0; // the character of a Char
};

// A single-line field over UTF-16 text; caret and anchor in UTF-16 units (anchor != caret: the
// text between them is selected).
struct SFieldText {
    std::u16string strText;
    int nAnchor = 0;
    int nCaret = 0;
    unsigned nLimit = 0xFFFFFFFFu;
};
// A key in a field: the cursor keys, Home and End move the caret, Backspace and Delete delete, a
// character replaces the selection as typing does (nothing beyond the limit). False when the key
// is none of these, or would change a read-only field.
bool ApplyFieldKey(SFieldText& field, const SKey& key, bool bReadOnly = false);

// The first column (in characters of ToWide) to show so that the caret stays in view of a
// field nWidth cells wide, given the column shown first until now.
int ScrollToCaret(const std::wstring& text, int nCaretChars, int nFirst, int nWidth);
// Characters of ToWide(text) before UTF-16 position nUnits.
int CharsBefore(std::u16string_view text, int nUnits);

// The filter's display names and patterns; the patterns as this system's files are named
// (no ".exe": "enfuse.exe" is "enfuse", "*.exe" is "*").
struct SFilterEntry {
    std::u16string strName;
    std::string strPattern;
};
std::vector<SFilterEntry> ParseFilter(std::u16string_view filter);

// What a typed path leads to in the prompt: the folder it is in, and the entries there whose
// names start with its last part, folders (with "/") and files matching the pattern, sorted.
struct SPromptListing {
    std::filesystem::path folder;
    std::vector<std::string> entries;
};
SPromptListing ListCandidates(const std::string& typed, const std::string& pattern);
// Tab: the typed path extended by the longest common start of the candidates.
std::string Complete(const std::string& typed, const std::string& pattern);
// The full path a confirmed prompt returns: absolute and normalised; a missing file without
// an extension gets the default extension, as the system's open-file dialog does.
std::string ResolvePromptPath(const std::string& typed, const std::string& defExt);
} // namespace lvp::terminal
