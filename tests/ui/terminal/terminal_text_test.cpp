// Text work of the terminal rendition: the pane's line index and the keys of a single-line field.
#include "ui/framework/terminal/terminal_text.h"

#include "platform/utf.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>
#include <vector>

namespace lvp::terminal {
namespace {
std::vector<std::wstring> Lines(const CPaneLines& index, std::u16string_view text)
{
    std::vector<std::wstring> out;
    for (int i = 0; i < index.Count(); ++i)
        out.push_back(index.Line(text, i));
    return out;
}

TEST(PaneLines, WrapsAsTheWholeTextWould)
{
    std::setlocale(LC_ALL, "C.UTF-8");
    struct SCase {
        const char* name;
        std::u16string text;
        int nWidth;
        std::vector<std::wstring> lines;
    } cases[] = {
        {"empty", u"", 5, {L""}},
        {"line feeds end lines, carriage returns vanish", u"ab\r\ncd\n", 5, {L"ab", L"cd", L""}},
        {"long line wraps at the width", u"abcdefg", 3, {L"abc", L"def", L"g"}},
        {"tab is one blank", u"a\tb", 5, {L"a b"}},
        {"wide character moves to the next line whole", u"ab\u4E2D", 3, {L"ab", L"\u4E2D"}},
        {"surrogate pair is one (wide) character", u"a\U0001F600b", 3, {L"a\U0001F600", L"b"}},
        {"lone surrogate shows as a replacement", u"a\xD800", 5, {L"a\xFFFD"}},
        {"width below one is one", u"ab", 0, {L"a", L"b"}},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(WrapLines(c.text, c.nWidth), c.lines);
        // The same text arriving one piece at a time, cut at every place.
        for (size_t cut = 0; cut <= c.text.size(); ++cut) {
            if (cut > 0 && cut < c.text.size() && platform::IsHighSurrogate(c.text[cut - 1]))
                continue; // additions are whole characters
            CPaneLines index;
            const std::u16string_view whole = c.text;
            index.Update(whole.substr(0, cut), c.nWidth, false);
            index.Update(whole, c.nWidth, false);
            EXPECT_EQ(Lines(index, whole), c.lines) << "cut at " << cut;
        }
    }
}

TEST(PaneLines, StartsAgainWhenTheTextOrWidthChanges)
{
    CPaneLines index;
    std::u16string text = u"abcdef\nxyz";
    index.Update(text, 3, false);
    ASSERT_EQ(index.Count(), 3);
    // The width changes: indexed anew.
    index.Update(text, 10, false);
    EXPECT_EQ(Lines(index, text), (std::vector<std::wstring>{L"abcdef", L"xyz"}));
    // The text is replaced by a shorter one, and by one of the same length.
    text = u"ab";
    index.Update(text, 10, false);
    EXPECT_EQ(Lines(index, text), std::vector<std::wstring>{L"ab"});
    text = u"q\nr";
    index.Update(text, 10, true);
    EXPECT_EQ(Lines(index, text), (std::vector<std::wstring>{L"q", L"r"}));
}
TEST(FieldKeys, EditAsTheSystemsFieldDoes)
{
    // Plain pointers, not strings, in the table: g++ -O3 sees an uninitialised string in a table
    // of strings that an exception would unwind.
    struct SBefore {
        const char16_t* text;
        int nAnchor;
        int nCaret;
        unsigned nLimit = 0xFFFFFFFFu;
    };
    struct SCase {
        const char* name;
        SBefore before;
        SKey key;
        bool bReadOnly;
        bool bHandled;
        const char16_t* text;
        int nCaret;
    } const cases[] = {
        {"left steps over a surrogate pair",
         {u"a\U0001F600", 3, 3},
         {EKey::Left},
         false,
         true,
         u"a\U0001F600",
         1},
        {"right ends a selection at its end", {u"abc", 0, 2}, {EKey::Right}, false, true, u"abc", 2},
        {"left ends a selection at its start", {u"abc", 2, 1}, {EKey::Left}, false, true, u"abc", 1},
        {"backspace deletes the selection", {u"abcd", 1, 3}, {EKey::Backspace}, false, true, u"ad", 1},
        {"backspace deletes a surrogate pair whole",
         {u"\U0001F600", 2, 2},
         {EKey::Backspace},
         false,
         true,
         u"",
         0},
        {"delete at the end changes nothing", {u"ab", 2, 2}, {EKey::Delete}, false, true, u"ab", 2},
        {"a character replaces the selection", {u"abc", 0, 3}, {EKey::Char, U'x'}, false, true, u"x", 1},
        {"no character beyond the limit", {u"ab", 2, 2, 2}, {EKey::Char, U'x'}, false, true, u"ab", 2},
        {"read-only: no deleting", {u"ab", 2, 2}, {EKey::Backspace}, true, false, u"ab", 2},
        {"read-only: no typing", {u"ab", 2, 2}, {EKey::Char, U'x'}, true, false, u"ab", 2},
        {"read-only: the caret still moves", {u"ab", 2, 2}, {EKey::Home}, true, true, u"ab", 0},
        {"a key that is no editing key", {u"ab", 1, 1}, {EKey::PageUp}, false, false, u"ab", 1},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.name);
        SFieldText f{c.before.text, c.before.nAnchor, c.before.nCaret, c.before.nLimit};
        EXPECT_EQ(ApplyFieldKey(f, c.key, c.bReadOnly), c.bHandled);
        EXPECT_EQ(f.strText, c.text);
        EXPECT_EQ(f.nCaret, c.nCaret);
        if (c.bHandled) {
            EXPECT_EQ(f.nAnchor, f.nCaret);
        }
    }
}

TEST(ProgressLine, BarPercentageAndText)
{
    struct SCase {
        int nPos, nRange;
        std::u16string text;
        int nCells;
        std::wstring line;
    } cases[] = {
        {0, 1000, u"0:00", 10, L"[..........]   0 %  0:00"},
        {455, 1000, u"Stage  0:12", 10, L"[####......]  45 %  Stage  0:12"},
        {999, 1000, u"", 4, L"[###.]  99 %"}, // 100 only at the end
        {1000, 1000, u"x", 4, L"[####] 100 %  x"},
        {2000, 1000, u"", 2, L"[##] 100 %"}, // beyond the range: clamped
        {-5, 1000, u"", 2, L"[..]   0 %"},
        {5, 0, u"", 0, L"[#] 100 %"}, // no range, no cells: one of each
    };
    for (const SCase& c : cases)
        EXPECT_EQ(ProgressLine(c.nPos, c.nRange, c.text, c.nCells), c.line) << c.nPos;
}
} // namespace
} // namespace lvp::terminal
