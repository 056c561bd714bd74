// The Win32 window system: modal dialogs from the module's resources, one dialog procedure
// that lets no exception into user32, message boxes, the open-file dialog, GDI objects.
#include "platform/win32/scoped.h"
#include "resources/win32/module_instance.h"
#include "ui/framework/placement.h"
#include "ui/framework/win32/taskbar_progress.h"
#include "ui/framework/win32/win32_wnd.h"

#include <commctrl.h>
#include <commdlg.h>

#include <optional>
#include <utility>
#include <vector>

namespace lvp {
namespace {
using platform::win32::CAutoGdi;

class CWin32Font : public CFontBackend {
public:
    CWin32Font(const SFontSpec& spec, HFONT hFont) : m_spec(spec), m_hFont(hFont) {}
    const SFontSpec& Spec() const override { return m_spec; }
    HFONT Handle() const { return m_hFont.Get(); }

private:
    SFontSpec m_spec;
    CAutoGdi<HFONT> m_hFont;
};

class CWin32Brush : public CBrushBackend {
public:
    CWin32Brush(Color color, HBRUSH hBrush) : m_color(color), m_hBrush(hBrush) {}
    Color GetColor() const override { return m_color; }
    HBRUSH Handle() const { return m_hBrush.Get(); }

private:
    Color m_color;
    CAutoGdi<HBRUSH> m_hBrush;
};

// Paint messages handled in one look at the queue during a run (a window that never validates
// would keep asking).
constexpr int kMaxPaintsPerPoll = 16;

SRect ToRect(const RECT& r)
{
    return {r.left, r.top, r.right, r.bottom};
}

BOOL CALLBACK AddMonitor(HMONITOR hMonitor, HDC, LPRECT, LPARAM lParam)
{
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!::GetMonitorInfoW(hMonitor, &info))
        return TRUE;
    auto& monitors = *reinterpret_cast<std::vector<SMonitorArea>*>(lParam);
    // The primary first: it wins where two monitors are equally near.
    auto at = info.dwFlags & MONITORINFOF_PRIMARY ? monitors.begin() : monitors.end();
    try { // called by user32: nothing may unwind through it
        monitors.insert(at, {ToRect(info.rcMonitor), ToRect(info.rcWork)});
        return TRUE;
    } catch (...) {
        return FALSE;
    }
}

// Centres the dialog over its owner (a hidden or minimised owner counts as none) on the owner's
// monitor, and keeps it inside that monitor's work area.
void CentreOverOwner(HWND hDlg)
{
    std::vector<SMonitorArea> monitors;
    ::EnumDisplayMonitors(nullptr, nullptr, &AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    std::optional<SRect> owner;
    HWND hOwner = ::GetWindow(hDlg, GW_OWNER);
    RECT r{};
    if (hOwner && ::IsWindowVisible(hOwner) && !::IsIconic(hOwner) && ::GetWindowRect(hOwner, &r))
        owner = ToRect(r);
    POINT cursor{};
    ::GetCursorPos(&cursor);
    ::GetWindowRect(hDlg, &r);
    SPoint at = PlaceDialog(owner, {cursor.x, cursor.y}, monitors, r.right - r.left, r.bottom - r.top);
    ::SetWindowPos(hDlg, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

class CWin32Dialog : public CDialogBackend {
public:
    CWin32Dialog(unsigned nIdTemplate, HWND hParent) : m_nIdTemplate(nIdTemplate), m_hParent(hParent) {}

    std::intptr_t RunModal(CDialogEvents& events) override
    {
        m_pEvents = &events;
        // The progress bar's class is registered by the common controls, not by user32.
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
        ::InitCommonControlsEx(&controls);
        INT_PTR nResult = ::DialogBoxParamW(OwnModule(), MAKEINTRESOURCEW(m_nIdTemplate), m_hParent,
                                            &DialogProc, reinterpret_cast<LPARAM>(this));
        m_pEvents = nullptr;
        m_hWnd = nullptr;
        return nResult;
    }
    void EndDialog(std::intptr_t nResult) override
    {
        if (m_hWnd)
            ::EndDialog(m_hWnd, nResult);
    }
    std::unique_ptr<CWndBackend> Window() override
    {
        return m_hWnd ? MakeWin32Backend(m_hWnd).pWnd : nullptr;
    }
    SControlBackend GetDlgItem(int nId) override
    {
        HWND hItem = m_hWnd ? ::GetDlgItem(m_hWnd, nId) : nullptr;
        return hItem ? MakeWin32Backend(hItem) : SControlBackend{};
    }
    void SetRunning(bool bRunning) override
    {
        m_bRunning = bRunning;
        m_bStopAsked = false;
    }
    // Only paint messages are dispatched. Keyboard and mouse input waiting for any window of
    // the thread is removed unseen, but for Escape or Alt+F4 to the dialog and a press on its
    // close button (or its system command), which ask for the stop; a WM_CLOSE sent to the
    // dialog does the same (Handle).
    bool PollStopRequest() override
    {
        MSG msg;
        for (int i = 0; i < kMaxPaintsPerPoll && ::PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE);
             ++i)
            ::DispatchMessageW(&msg);
        while (::PeekMessageW(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
            const bool bEscape = msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE;
            const bool bAltF4 = msg.message == WM_SYSKEYDOWN && msg.wParam == VK_F4;
            if ((bEscape || bAltF4) && IsDialogOrChild(msg.hwnd))
                m_bStopAsked = true;
        }
        while (::PeekMessageW(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
        }
        while (::PeekMessageW(&msg, nullptr, WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK, PM_REMOVE)) {
            if (msg.message == WM_NCLBUTTONDOWN && msg.wParam == HTCLOSE && msg.hwnd == m_hWnd)
                m_bStopAsked = true;
        }
        if (m_hWnd && ::PeekMessageW(&msg, m_hWnd, WM_CLOSE, WM_CLOSE, PM_REMOVE))
            m_bStopAsked = true;
        while (m_hWnd && ::PeekMessageW(&msg, m_hWnd, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_REMOVE)) {
            if ((msg.wParam & 0xFFF0) == SC_CLOSE)
                m_bStopAsked = true;
        }
        return std::exchange(m_bStopAsked, false);
    }

private:
    static INT_PTR CALLBACK DialogProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        if (msg == WM_INITDIALOG) {
            ::SetWindowLongPtrW(hDlg, DWLP_USER, lParam);
            reinterpret_cast<CWin32Dialog*>(lParam)->m_hWnd = hDlg;
        }
        auto* self = reinterpret_cast<CWin32Dialog*>(::GetWindowLongPtrW(hDlg, DWLP_USER));
        if (!self || !self->m_pEvents)
            return FALSE;
        // Dispatch catches what the C++ side throws; this catch is for the backend's own code.
        try {
            return self->Handle(msg, wParam, lParam);
        } catch (...) {
            ::EndDialog(hDlg, -1);
            return FALSE;
        }
    }

    bool IsDialogOrChild(HWND hWnd) const { return m_hWnd && (hWnd == m_hWnd || ::IsChild(m_hWnd, hWnd)); }

    INT_PTR Handle(UINT msg, WPARAM wParam, LPARAM lParam)
    {
        // During a run, closing (WM_CLOSE, and Cancel as the dialog manager sends it for
        // Escape) asks for the stop; no other command reaches the C++ side.
        if (m_bRunning && (msg == WM_CLOSE || msg == WM_COMMAND)) {
            if (msg == WM_CLOSE || LOWORD(wParam) == IDCANCEL)
                m_bStopAsked = true;
            return TRUE;
        }
        switch (msg) {
        case WM_INITDIALOG: {
            bool bSetFocus = m_pEvents->Dispatch({EDialogEvent::InitDialog});
            CentreOverOwner(m_hWnd);
            return bSetFocus ? TRUE : FALSE;
        }
        case WM_COMMAND:
            m_pEvents->Dispatch({EDialogEvent::Command, LOWORD(wParam), HIWORD(wParam)});
            return TRUE;
        case WM_CLOSE:
            m_pEvents->Dispatch({EDialogEvent::Close});
            return TRUE;
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC: {
            // Reflected to the control: a read-only edit control asks with WM_CTLCOLORSTATIC.
            SCtlColor color;
            int nId = ::GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
            if (!m_pEvents->Dispatch({EDialogEvent::CtlColor, nId, 0, &color}))
                return FALSE;
            HDC hdc = reinterpret_cast<HDC>(wParam);
            ::SetTextColor(hdc, color.text);
            ::SetBkColor(hdc, color.back);
            auto* pBrush = dynamic_cast<const CWin32Brush*>(color.pBrush);
            return reinterpret_cast<INT_PTR>(pBrush ? pBrush->Handle() : ::GetStockObject(NULL_BRUSH));
        }
        }
        return FALSE;
    }

    unsigned m_nIdTemplate;
    HWND m_hParent;
    HWND m_hWnd = nullptr;
    CDialogEvents* m_pEvents = nullptr;
    bool m_bRunning = false;
    bool m_bStopAsked = false;
};

// The system's wait cursor; nested waits restore the cursor of the outermost one.
class CWin32Cursor : public CCursorBackend {
public:
    void BeginWaitCursor() override
    {
        HCURSOR hBefore = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
        if (m_nDepth++ == 0)
            m_hBefore = hBefore;
    }
    void EndWaitCursor() override
    {
        if (m_nDepth > 0 && --m_nDepth == 0)
            ::SetCursor(m_hBefore);
    }

private:
    int m_nDepth = 0;
    HCURSOR m_hBefore = nullptr;
};

class CWin32Ui : public CUiBackend {
public:
    std::unique_ptr<CDialogBackend> CreateDialogBackend(unsigned nIdTemplate,
                                                        platform::WindowId parent) override
    {
        if (nIdTemplate > 0xFFFF || !::FindResourceW(OwnModule(), MAKEINTRESOURCEW(nIdTemplate), RT_DIALOG))
            return nullptr;
        return std::make_unique<CWin32Dialog>(nIdTemplate, ToHwnd(parent));
    }
    std::unique_ptr<CWndBackend> WrapWindow(platform::WindowId window) override
    {
        return window ? MakeWin32Backend(ToHwnd(window)).pWnd : nullptr;
    }
    bool ShowMessage(std::u16string_view text, std::u16string_view caption, EMessageIcon icon,
                     EMessageButtons buttons) override
    {
        UINT type = icon == EMessageIcon::Information ? MB_ICONINFORMATION
                    : icon == EMessageIcon::Warning   ? MB_ICONEXCLAMATION
                                                      : MB_ICONERROR;
        std::u16string t(text), c(caption);
        if (buttons == EMessageButtons::YesNo)
            type |= MB_YESNO | MB_DEFBUTTON2;
        else if (buttons == EMessageButtons::YesNoDefaultYes)
            type |= MB_YESNO | MB_DEFBUTTON1;
        int nAnswer = ::MessageBoxW(::GetActiveWindow(), reinterpret_cast<LPCWSTR>(t.c_str()),
                                    reinterpret_cast<LPCWSTR>(c.c_str()), type);
        return buttons == EMessageButtons::Ok || nAnswer == IDYES;
    }
    bool ShowOpenFileDialog(const SOpenFileRequest& request, std::u16string& path) override
    {
        // "name|pattern|...||" becomes the double-zero-terminated list the system wants.
        std::u16string filter = request.strFilter;
        for (char16_t& c : filter) {
            if (c == u'|')
                c = u'\0';
        }
        filter.append(2, u'\0');
        std::vector<wchar_t> file(32768, L'\0'); // any length the system accepts
        std::u16string defExt = request.strDefExt;
        OPENFILENAMEW ofn{};
        ofn.lStructSize = sizeof ofn;
        ofn.hwndOwner = ::GetActiveWindow();
        ofn.lpstrFilter = request.strFilter.empty() ? nullptr : reinterpret_cast<LPCWSTR>(filter.c_str());
        ofn.nFilterIndex = 1;
        ofn.lpstrFile = file.data();
        ofn.nMaxFile = static_cast<DWORD>(file.size());
        ofn.lpstrDefExt = defExt.empty() ? nullptr : reinterpret_cast<LPCWSTR>(defExt.c_str());
        static_assert(kOpenFileOverwritePrompt == OFN_OVERWRITEPROMPT &&
                      kOpenFileHideReadOnly == OFN_HIDEREADONLY);
        ofn.Flags = request.nFlags | OFN_EXPLORER;
        if (!::GetOpenFileNameW(&ofn))
            return false;
        path.assign(reinterpret_cast<const char16_t*>(file.data()));
        return true;
    }
    CCursorBackend& Cursor() override { return m_cursor; }
    std::unique_ptr<CTaskbarProgress> ShowTaskbarProgress(platform::WindowId window) override
    {
        return MakeTaskbarProgress(ToHwnd(window));
    }
    std::unique_ptr<CFontBackend> MakeFont(const SFontSpec& s) override
    {
        HFONT hFont =
            ::CreateFontW(s.nHeight, s.nWidth, s.nEscapement, s.nOrientation, s.nWeight, s.bItalic,
                          s.bUnderline, s.bStrikeOut, s.nCharSet, s.nOutPrecision, s.nClipPrecision,
                          s.nQuality, s.nPitchAndFamily, reinterpret_cast<LPCWSTR>(s.strFace.c_str()));
        return hFont ? std::make_unique<CWin32Font>(s, hFont) : nullptr;
    }
    std::unique_ptr<CBrushBackend> MakeSolidBrush(Color color) override
    {
        HBRUSH hBrush = ::CreateSolidBrush(color);
        return hBrush ? std::make_unique<CWin32Brush>(color, hBrush) : nullptr;
    }

private:
    CWin32Cursor m_cursor;
};

// Built at compile time and never destroyed, as the real OS object is: a function-local static
// would be built under the runtime's guard lock, whose OS objects outlive every unload of the DLL.
union UWin32Ui {
    CWin32Ui ui;
    constexpr UWin32Ui() : ui() {}
    ~UWin32Ui() {}
};
constinit UWin32Ui g_win32Ui;
} // namespace

HFONT FontHandle(const CFontBackend* pFont)
{
    auto* p = dynamic_cast<const CWin32Font*>(pFont);
    return p ? p->Handle() : nullptr;
}

CUiBackend& DefaultUiBackend()
{
    return g_win32Ui.ui;
}
} // namespace lvp
