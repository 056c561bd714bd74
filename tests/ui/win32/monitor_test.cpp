// The fusion dialog on a desktop of two monitors side by side (two_monitors.sh provides it):
// it opens over its owner on the owner's monitor, and stays inside that monitor's work area.
#include "tests/ui/win32/dialog_driver.h"
#include "ui/framework/win32/win32_wnd.h"
#include "ui/sample_dlg.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
using namespace dialog_test;
using namespace lvp;

BOOL CALLBACK AddWorkArea(HMONITOR hMonitor, HDC, LPRECT, LPARAM lParam)
{
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(hMonitor, &info) && !(info.dwFlags & MONITORINFOF_PRIMARY))
        reinterpret_cast<std::vector<RECT>*>(lParam)->push_back(info.rcWork);
    return TRUE;
}

RECT ScreenRect(HWND hWnd)
{
    RECT r{};
    GetWindowRect(hWnd, &r);
    return r;
}

TEST(TwoMonitors, DialogOnTheOwnersMonitor)
{
    std::vector<RECT> others;
    EnumDisplayMonitors(nullptr, nullptr, &AddWorkArea, reinterpret_cast<LPARAM>(&others));
    ASSERT_EQ(others.size(), 1u) << "the desktop should have a second monitor";
    const RECT work = others[0];
    ASSERT_GT(work.left, 0) << "the second monitor should lie to the right of the primary";

    // The owner's rectangle on the second monitor; where the dialog must then lie.
    enum class EExpect { Centred, AtRightEdge, AtLeftEdge, CentredInWorkArea };
    struct Case {
        const char* name;
        int x, y; // the owner's top-left corner relative to the work area's
        bool bVisible;
        EExpect expect;
    };
    const Case cases[] = {
        {"owner in the middle", 200, 150, true, EExpect::Centred},
        {"owner off the right edge", work.right - work.left - 500, 150, true, EExpect::AtRightEdge},
        {"owner straddling, centre on the second", -300, 150, true, EExpect::AtLeftEdge},
        // A hidden owner counts as none: the dialog goes to the monitor under the cursor.
        {"hidden owner, cursor on the second", 200, 150, false, EExpect::CentredInWorkArea},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CDriver driver;
        HWND hOwner = driver.Owner();
        SetWindowPos(hOwner, nullptr, work.left + c.x, work.top + c.y, 900, 640,
                     SWP_NOZORDER | (c.bVisible ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
        SetCursorPos(work.left + 100, work.top + 100);
        CTempWnd owner{DefaultUiBackend(), ToWindowId(hOwner)};
        std::vector<std::u16string> selection;
        CSampleDlg dlg(platform::RealOs(), DefaultUiBackend(), &selection, &owner);
        dlg.m_strOutputFile = u"Z:\\a-c.jpg";
        RECT seen{};
        driver.m_steps = {[&](HWND hDlg) {
            seen = ScreenRect(hDlg);
            PressKey(hDlg, VK_ESCAPE);
        }};
        EXPECT_EQ(dlg.DoModal(), kIdCancel);
        const RECT o = ScreenRect(hOwner);
        const int cx = seen.right - seen.left, cy = seen.bottom - seen.top;
        ASSERT_GT(cx, 0);
        EXPECT_GE(seen.left, work.left);
        EXPECT_LE(seen.right, work.right);
        EXPECT_GE(seen.top, work.top);
        EXPECT_LE(seen.bottom, work.bottom);
        switch (c.expect) {
        case EExpect::Centred:
            EXPECT_NEAR((seen.left + seen.right) / 2, (o.left + o.right) / 2, 1);
            EXPECT_NEAR((seen.top + seen.bottom) / 2, (o.top + o.bottom) / 2, 1);
            break;
        case EExpect::AtRightEdge:
            EXPECT_EQ(seen.right, work.right);
            EXPECT_NEAR((seen.top + seen.bottom) / 2, (o.top + o.bottom) / 2, 1);
            break;
        case EExpect::AtLeftEdge:
            EXPECT_EQ(seen.left, work.left);
            break;
        case EExpect::CentredInWorkArea:
            EXPECT_NEAR(seen.left, (work.left + work.right - cx) / 2, 1);
            EXPECT_NEAR(seen.top, (work.top + work.bottom - cy) / 2, 1);
            break;
        }
    }
}
} // namespace
