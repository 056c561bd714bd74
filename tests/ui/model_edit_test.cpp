// The in-memory edit control follows the system edit control's rules for text, selection and limit.
#include "resources/ids.h"
#include "ui/framework/edit.h"
#include "tests/ui/model/model_ui.h"
#include "ui/framework/wait_cursor.h"

#include <gtest/gtest.h>

namespace {
TEST(ModelEdit, SelectionReplaceAndLimit)
{
    lvp::SModelControl control{lvp::IDC_OUTPUT_PANE, lvp::EControlKind::Edit};
    lvp::CEdit edit;
    edit.Attach(lvp::MakeModelBackend(control));
    edit.SetText(u"hello world");
    int s = -1, e = -1;
    edit.GetSel(s, e);
    EXPECT_EQ(s, 0);
    EXPECT_EQ(e, 0);

    struct Case {
        int start, end;
        std::u16string insert, text;
        int caret;
    } cases[] = {
        {11, 11, u"!", u"hello world!", 12},
        {0, 5, u"HELLO", u"HELLO world!", 5},
        {6, 999, u"you", u"HELLO you", 9}, // clamped to the end
        {0, -1, u"all", u"all", 3},        // -1: to the end
        {-1, 0, u"+", u"all+", 4},         // -1 start: no selection, caret stays
        {3, 1, u"-", u"a-+", 2},           // reversed range
    };
    for (const Case& c : cases) {
        edit.SetSel(c.start, c.end);
        edit.ReplaceSel(c.insert);
        EXPECT_EQ(edit.GetText(), c.text) << c.start << "," << c.end;
        edit.GetSel(s, e);
        EXPECT_EQ(s, c.caret);
        EXPECT_EQ(e, c.caret);
    }

    // Text beyond the limit is dropped by ReplaceSel but not by SetWindowText.
    EXPECT_EQ(edit.GetLimitText(), 30000u);
    edit.SetLimitText(5);
    edit.SetSel(3, 3);
    edit.ReplaceSel(u"12345");
    EXPECT_EQ(edit.GetText(), u"a-+12");
    edit.SetText(u"longer than five");
    EXPECT_EQ(edit.GetTextLength(), 16);
    edit.SetLimitText(0);
    EXPECT_EQ(edit.GetLimitText(), 0xFFFFFFFFu); // as a multi-line control reports it
}

TEST(ModelEdit, WindowStateAndUnattachedUse)
{
    lvp::SModelControl control{7, lvp::EControlKind::PushButton};
    lvp::CWnd wnd;
    EXPECT_THROW(wnd.GetTextLength(), std::logic_error);
    wnd.Attach(lvp::MakeModelBackend(control));
    wnd.ShowWindow(false);
    wnd.EnableWindow(false);
    wnd.MoveWindow({-1, -1, -1, -1});
    EXPECT_EQ(wnd.GetDlgCtrlID(), 7);
    EXPECT_FALSE(control.bVisible || control.bEnabled);
    EXPECT_EQ(wnd.GetWindowRect().right, -1);
}

TEST(WaitCursor, NestsAndEndsOnce)
{
    lvp::CModelUi ui;
    lvp::CModelCursor& cursor = ui.m_cursor;
    {
        lvp::CWaitCursor outer(ui);
        {
            lvp::CWaitCursor inner(ui);
            EXPECT_EQ(cursor.m_nDepth, 2);
            inner.End();
            inner.End();
            EXPECT_EQ(cursor.m_nDepth, 1);
        }
        EXPECT_EQ(cursor.m_nDepth, 1);
    }
    EXPECT_EQ(cursor.m_nDepth, 0);
    EXPECT_EQ(cursor.m_nBeginCount, 2);
}
} // namespace
