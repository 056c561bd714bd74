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

// The pane's text as display lines of at most nWidth cells: a line feed ends a line, carriage
// returns are dropped, a long line wraps.
std::vector<std::wstring> WrapLines(std::u16string_view text, int nWidth);

// Editing keys of a single-line field over UTF-16 text; caret and anchor in UTF-16 units
// (anchor != caret: the text between them is selected).
enum class EEditKey { Left, Right, Home, End, Backspace, Delete };
struct SFieldText {
    std::u16string strText;
    int nAnchor = 0;
    int nCaret = 0;
    unsigned nLimit = 0xFFFFFFFFu;
};
void ApplyEditKey(SFieldText& field, EEditKey key);
// Replaces the selection by the character, as typing does; false when the limit is reached.
bool InsertChar(SFieldText& field, char32_t c);

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
