// The Win32 backend: the real edit control's limit and the system wait cursor.
#include "tests/ui/test_os.h"
#include "ui/framework/wait_cursor.h"
#include "ui/framework/win32/win32_wnd.h"

#include <gtest/gtest.h>

namespace {
TEST(Win32Backend, EditLimitAndWaitCursor)
{
    auto pane = toolrun_test::MakeTestPane();
    lvp::CEdit& edit = pane->m_edit;
    // The real control drops what passes its limit; raising it keeps everything.
    edit.SetLimitText(10);
    edit.ReplaceSel(u"0123456789abc");
    EXPECT_EQ(edit.GetText(), u"0123456789");
    edit.SetLimitText(0);
    EXPECT_EQ(edit.GetLimitText(), 0xFFFFFFFFu); // what the in-memory pane reports too
    edit.SetSel(10, 10);
    edit.ReplaceSel(u"abc");
    EXPECT_EQ(edit.GetText(), u"0123456789abc");
    int s = 0, e = 0;
    edit.GetSel(s, e);
    EXPECT_EQ(s, 13);

    HCURSOR hArrow = LoadCursorW(nullptr, IDC_ARROW);
    SetCursor(hArrow);
    {
        lvp::CWaitCursor wait(lvp::DefaultUiBackend());
        EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_WAIT));
    }
    EXPECT_EQ(GetCursor(), hArrow);
}
} // namespace
