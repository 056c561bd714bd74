// The user's side of a real modal dialog: steps on WM_ENTERIDLE, answers from a WH_CBT hook.
#include "tests/ui/win32/dialog_driver.h"

#include <dlgs.h>
#include <gtest/gtest.h>

#include <vector>

namespace dialog_test {
namespace {
CDriver* g_pDriver = nullptr; // the one driver of this thread, for the hook
constexpr wchar_t kOwnerClass[] = L"lvp_dialog_test_owner";
constexpr int kMessageBoxText = 0xFFFF;         // the static that holds a message box's text
constexpr int kMessageBoxIcons[] = {0x440, 20}; // its icon: Wine's id, Windows' id
constexpr int kMaxWaitsForActivation = 5000;    // idle rounds (about 1 ms each) before a step runs anyway

bool HasWarningIcon(HWND hBox)
{
    HICON hWarning = LoadIconW(nullptr, IDI_EXCLAMATION);
    for (int nId : kMessageBoxIcons) {
        HWND hIcon = GetDlgItem(hBox, nId);
        if (hIcon && reinterpret_cast<HICON>(SendMessageW(hIcon, STM_GETICON, 0, 0)) == hWarning)
            return true;
    }
    return false;
}
} // namespace

std::u16string WindowText(HWND hWnd)
{
    std::vector<wchar_t> text(static_cast<size_t>(GetWindowTextLengthW(hWnd)) + 1);
    int n = GetWindowTextW(hWnd, text.data(), static_cast<int>(text.size()));
    return std::u16string(reinterpret_cast<const char16_t*>(text.data()), static_cast<size_t>(n > 0 ? n : 0));
}

std::u16string ItemText(HWND hDlg, int nId)
{
    return WindowText(GetDlgItem(hDlg, nId));
}

void Type(HWND hDlg, int nId, std::u16string_view text)
{
    HWND hField = GetDlgItem(hDlg, nId);
    PostMessageW(hField, EM_SETSEL, 0, -1);
    for (char16_t c : text)
        PostMessageW(hField, WM_CHAR, c, 1);
}

void Click(HWND hDlg, int nId)
{
    PostMessageW(GetDlgItem(hDlg, nId), BM_CLICK, 0, 0);
}

void PressKey(HWND hDlg, UINT vk)
{
    HWND hFocus = GetFocus();
    HWND hTarget = hFocus && IsChild(hDlg, hFocus) ? hFocus : hDlg;
    PostMessageW(hTarget, WM_KEYDOWN, vk, 1);
    PostMessageW(hTarget, WM_KEYUP, vk, 0xC0000001);
}

CDriver::CDriver()
{
    HINSTANCE hInstance = GetModuleHandleW(nullptr);
    WNDCLASSW wc{};
    wc.lpfnWndProc = OwnerProc;
    wc.hInstance = hInstance;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
    wc.lpszClassName = kOwnerClass;
    RegisterClassW(&wc); // fails harmlessly when already registered
    // Visible, so that the dialog is centred over it rather than over the screen.
    m_hOwner = CreateWindowExW(0, kOwnerClass, L"Gastprogramm", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 40, 900,
                               640, nullptr, nullptr, hInstance, nullptr);
    SetWindowLongPtrW(m_hOwner, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    g_pDriver = this;
    m_hHook = SetWindowsHookExW(WH_CBT, CbtProc, nullptr, GetCurrentThreadId());
}

CDriver::~CDriver()
{
    if (m_hHook)
        UnhookWindowsHookEx(m_hHook);
    g_pDriver = nullptr;
    if (m_hOwner)
        DestroyWindow(m_hOwner);
}

void CDriver::Reset()
{
    m_steps.clear();
    m_fileAnswers.clear();
    m_boxes.clear();
    m_boxAnswers.clear();
    m_nFileDialogs = 0;
    m_events.clear();
    m_answered.clear();
}

LRESULT CALLBACK CDriver::OwnerProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<CDriver*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    if (self && msg == WM_APP && self->m_onAppMessage) {
        self->m_onAppMessage();
        return 0;
    }
    if (self && msg == WM_ENTERIDLE && wParam == MSGF_DIALOGBOX) {
        HWND hDlg = reinterpret_cast<HWND>(lParam);
        // After a message box the system gives the dialog back its activation (and with it the
        // keyboard focus) through window-manager events that may come a little later: the user
        // acts on the dialog once it is in front again.
        if (GetActiveWindow() != hDlg && self->m_nWaitsForActivation < kMaxWaitsForActivation) {
            ++self->m_nWaitsForActivation;
            Sleep(1);
            PostMessageW(hWnd, WM_NULL, 0, 0);
            return 0;
        }
        self->m_nWaitsForActivation = 0;
        if (self->m_steps.empty()) {
            ADD_FAILURE() << "the dialog is still open after the last step";
            EndDialog(hDlg, 99);
            return 0;
        }
        Step step = std::move(self->m_steps.front());
        self->m_steps.pop_front();
        step(hDlg);
        // Idle comes again once everything the step posted has been handled.
        PostMessageW(hWnd, WM_NULL, 0, 0);
        return 0;
    }
    return DefWindowProcW(hWnd, msg, wParam, lParam);
}

LRESULT CALLBACK CDriver::CbtProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode == HCBT_ACTIVATE && g_pDriver)
        g_pDriver->OnActivate(reinterpret_cast<HWND>(wParam));
    return CallNextHookEx(nullptr, nCode, wParam, lParam);
}

// A window owned by the dialog (not by our owner window) is a message box or the file dialog.
void CDriver::OnActivate(HWND hWnd)
{
    wchar_t cls[16] = {};
    GetClassNameW(hWnd, cls, 16);
    HWND hOwnedBy = GetWindow(hWnd, GW_OWNER);
    if (lstrcmpW(cls, L"#32770") != 0 || !hOwnedBy || hOwnedBy == m_hOwner || !m_answered.insert(hWnd).second)
        return;
    if (GetDlgItem(hWnd, kMessageBoxText)) {
        m_events.push_back("box");
        const bool bYesNo = GetDlgItem(hWnd, IDYES) != nullptr;
        m_boxes.push_back({WindowText(hWnd), ItemText(hWnd, kMessageBoxText), HasWarningIcon(hWnd), bYesNo});
        if (bYesNo && m_boxAnswers.empty()) { // Enter, as the user presses it
            PostMessageW(hWnd, WM_KEYDOWN, VK_RETURN, 1);
            PostMessageW(hWnd, WM_KEYUP, VK_RETURN, 0xC0000001);
            return;
        }
        int nButton = IDOK;
        if (bYesNo) {
            nButton = m_boxAnswers.front();
            m_boxAnswers.pop_front();
        }
        PostMessageW(hWnd, WM_COMMAND, static_cast<WPARAM>(nButton), 0);
        return;
    }
    m_events.push_back("file");
    ++m_nFileDialogs;
    if (m_fileAnswers.empty()) {
        PostMessageW(hWnd, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    // The name field is an edit (edt1) in some versions, a combo box (cmb13) in others.
    std::u16string path = std::move(m_fileAnswers.front());
    m_fileAnswers.pop_front();
    for (int nId : {cmb13, edt1}) {
        if (HWND hName = GetDlgItem(hWnd, nId))
            SetWindowTextW(hName, reinterpret_cast<LPCWSTR>(path.c_str()));
    }
    PostMessageW(hWnd, WM_COMMAND, IDOK, 0);
}
} // namespace dialog_test
