// <windows.h> before every header of the window layer: no Win32 macro renames our members.
#include <windows.h>
// The framework and the dialog after it, each on its own, in no particular order.
#include "fusion/command_line.h"
#include "plugin/selection_list.h"
#include "ui/color_edit.h"
#include "ui/framework/backend.h"
#include "ui/framework/data_exchange.h"
#include "ui/framework/dialog.h"
#include "ui/framework/edit.h"
#include "ui/framework/gdi.h"
#include "ui/framework/message_box.h"
#include "ui/framework/model/dialog_state.h"
#include "ui/framework/model/model_wnd.h"
#include "ui/framework/wait_cursor.h"
#include "ui/framework/win32/win32_wnd.h"
#include "ui/framework/wnd.h"
#include "ui/sample_dlg.h"
#include "ui/tool_run.h"

#include <gtest/gtest.h>

namespace {
// SetText, GetText and friends would not link if <windows.h> had renamed them here but not
// in the framework's own sources (or the other way round).
TEST(HeaderOrder, WindowsHeaderFirst)
{
    lvp::SModelControl control{1009, lvp::EControlKind::Edit};
    lvp::CEdit edit;
    edit.Attach(lvp::MakeModelBackend(control));
    edit.SetText(u"Z:\\enfuse.exe");
    EXPECT_EQ(edit.GetText(), u"Z:\\enfuse.exe");
    EXPECT_EQ(edit.GetTextLength(), 13);
    edit.SetSel(0, -1);
    edit.ReplaceSel(u"x");
    EXPECT_EQ(edit.GetText(), u"x");
    edit.Detach();
}
} // namespace
