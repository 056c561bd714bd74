// The terminal's message boxes and open-file prompt, and the Linux build's window system.
#include "ui/framework/terminal/terminal_ui.h"
#include "platform/utf.h"
#include "resources/ids.h"
#include "resources/strings.h"
#include "ui/framework/terminal/terminal_text.h"

#include <algorithm>
#include <cstdio>

namespace lvp {
namespace terminal {
// A box over the dialog: caption in the frame, lines of text, an OK button or Yes and No (the
// default button first in focus; Tab and the arrows move it, Escape answers No).
bool CTerminalUi::ShowMessage(std::u16string_view text, std::u16string_view caption, EMessageIcon icon,
                              EMessageButtons buttons)
{
    CUse use(*this);
    if (!use) {
        std::string line = platform::Utf16ToUtf8(caption) + ": " + platform::Utf16ToUtf8(text) + "\n";
        std::fwrite(line.data(), 1, line.size(), stderr);
        std::fflush(stderr);
        return buttons == EMessageButtons::Ok;
    }
    const bool bYesNo = buttons != EMessageButtons::Ok;
    bool bYesFocused = buttons == EMessageButtons::YesNoDefaultYes;
    const std::wstring sign = icon == EMessageIcon::Information ? L"(i) "
                              : icon == EMessageIcon::Warning   ? L"/!\\ "
                                                                : L"(X) ";
    std::vector<std::wstring> lines = WrapLines(text, 100000);
    for (;;) {
        int nWidth = 20;
        for (const std::wstring& l : lines)
            nWidth = std::max(nWidth, TextCells(l) + 4);
        nWidth = std::min(nWidth + 4, std::max(10, COLS));
        const int nHeight = std::min(static_cast<int>(lines.size()) + 4, std::max(5, LINES));
        const int y = std::max(0, (LINES - nHeight) / 2), x = std::max(0, (COLS - nWidth) / 2);
        DrawBackground();
        const attr_t attr = Pair(Screen(), kPairBox);
        Frame(y, x, nHeight, nWidth, std::u16string(caption), attr);
        ::attrset(attr | A_BOLD);
        PutText(y + 1, x + 2, sign, 4);
        ::attrset(attr);
        for (size_t i = 0; i < lines.size() && static_cast<int>(i) + 3 < nHeight; ++i)
            PutText(y + 1 + static_cast<int>(i), x + 6, lines[i], nWidth - 8);
        if (bYesNo) {
            const bool bYesDefault = buttons == EMessageButtons::YesNoDefaultYes;
            DrawButton(Screen(), y + nHeight - 2, x, nWidth / 2, LoadModuleString(IDS_YES), bYesDefault,
                       bYesFocused);
            DrawButton(Screen(), y + nHeight - 2, x + nWidth / 2, nWidth - nWidth / 2, LoadModuleString(IDS_NO),
                       !bYesDefault, !bYesFocused);
        } else {
            DrawButton(Screen(), y + nHeight - 2, x, nWidth, LoadModuleString(IDS_OK), true, true);
        }
        ::move(y + nHeight - 2, x + nWidth / 2);
        ::curs_set(0);
        ::wnoutrefresh(stdscr);
        ::doupdate();
        SKey key;
        if (!Screen().ReadKey(key) || key.key == EKey::Escape)
            return !bYesNo;
        if (key.key == EKey::Enter || (key.key == EKey::Char && key.ch == U' '))
            return !bYesNo || bYesFocused;
        if (bYesNo && (key.key == EKey::Tab || key.key == EKey::BackTab || key.key == EKey::Left ||
                       key.key == EKey::Right))
            bYesFocused = !bYesFocused;
    }
}

// A path prompt: starts in the current folder, lists what matches the filter's first pattern,
// completes with Tab; Enter on a folder opens it, on anything else returns its full path.
bool CTerminalUi::ShowOpenFileDialog(const SOpenFileRequest& request, std::u16string& path)
{
    CUse use(*this);
    if (!use)
        return false;
    const std::vector<SFilterEntry> filters = ParseFilter(request.strFilter);
    const std::string pattern = filters.empty() ? "*" : filters.front().strPattern;
    const std::wstring filterName = filters.empty() ? L"*" : ToWide(filters.front().strName);
    std::error_code ec;
    std::string cwd = std::filesystem::current_path(ec).string();
    SFieldText field{platform::Utf8ToUtf16(ec ? std::string("./") : cwd == "/" ? cwd : cwd + "/"), 0, 0};
    field.nCaret = field.nAnchor = static_cast<int>(field.strText.size());
    int nFirst = 0;
    for (;;) {
        const std::string typed = platform::Utf16ToUtf8(field.strText);
        const SPromptListing listing = ListCandidates(typed, pattern);
        const int nWidth = std::min(std::max(COLS - 4, 20), 76);
        const int nHeight = std::min(std::max(LINES - 2, 8), 20);
        const int y = std::max(0, (LINES - nHeight) / 2), x = std::max(0, (COLS - nWidth) / 2);
        DrawBackground();
        const attr_t attr = Pair(Screen(), kPairBox);
        Frame(y, x, nHeight, nWidth, LoadModuleString(IDS_OPEN_CAPTION), attr);
        ::attrset(attr);
        PutText(y + 1, x + 2, ToWide(LoadModuleString(IDS_OPEN_FILE_TYPE)) + L" " + filterName, nWidth - 4);
        // The path field.
        const std::wstring wide = ToWide(field.strText);
        const int nCaret = CharsBefore(field.strText, field.nCaret);
        const int nField = nWidth - 4;
        nFirst = ScrollToCaret(wide, nCaret, nFirst, nField);
        Fill(y + 2, x + 2, 1, nField, Pair(Screen(), kPairField) | (Screen().HasColors() ? 0 : A_UNDERLINE));
        PutText(y + 2, x + 2, wide.substr(static_cast<size_t>(nFirst)), nField);
        ::attrset(attr);
        const int nList = nHeight - 5;
        for (int i = 0; i < nList && i < static_cast<int>(listing.entries.size()); ++i) {
            std::wstring entry = ToWide(platform::Utf8ToUtf16(listing.entries[static_cast<size_t>(i)]));
            if (i == nList - 1 && static_cast<int>(listing.entries.size()) > nList)
                entry = L"...";
            PutText(y + 3 + i, x + 4, entry, nWidth - 6);
        }
        PutText(y + nHeight - 2, x + 2, ToWide(LoadModuleString(IDS_OPEN_KEYS)), nWidth - 4);
        ::move(y + 2,
               x + 2 +
                   TextCells(wide.substr(static_cast<size_t>(nFirst), static_cast<size_t>(nCaret - nFirst))));
        ::curs_set(1);
        ::wnoutrefresh(stdscr);
        ::doupdate();

        SKey key;
        if (!Screen().ReadKey(key) || key.key == EKey::Escape)
            return false;
        if (key.key == EKey::Tab) {
            field.strText = platform::Utf8ToUtf16(Complete(typed, pattern));
            field.nCaret = field.nAnchor = static_cast<int>(field.strText.size());
        } else if (key.key == EKey::Enter) {
            if (typed.empty())
                continue;
            if (std::filesystem::is_directory(typed, ec)) {
                std::string dir = ResolvePromptPath(typed, "");
                field.strText = platform::Utf8ToUtf16(dir.back() == '/' ? dir : dir + "/");
                field.nCaret = field.nAnchor = static_cast<int>(field.strText.size());
                continue;
            }
            path = platform::Utf8ToUtf16(ResolvePromptPath(typed, platform::Utf16ToUtf8(request.strDefExt)));
            return true;
        } else {
            ApplyFieldKey(field, key);
        }
    }
}
} // namespace terminal

CUiBackend& DefaultUiBackend()
{
    static terminal::CTerminalUi ui;
    return ui;
}
} // namespace lvp
