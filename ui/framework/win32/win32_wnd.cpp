// Win32 windows and controls behind the portable window classes.
#include "ui/framework/win32/win32_wnd.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

namespace lvp {
namespace {
LPCWSTR Wide(const char16_t* text)
{
    return reinterpret_cast<LPCWSTR>(text);
}

class CWin32Wnd : public CWndBackend {
public:
    explicit CWin32Wnd(HWND hWnd) : m_hWnd(hWnd) {}

    platform::WindowId GetWindowId() const override { return ToWindowId(m_hWnd); }
    int GetDlgCtrlID() const override { return ::GetDlgCtrlID(m_hWnd); }
    void SetText(std::u16string_view text) override
    {
        ::SetWindowTextW(m_hWnd, Wide(std::u16string(text).c_str()));
    }
    std::u16string GetText() const override
    {
        std::vector<wchar_t> buffer(static_cast<size_t>(GetTextLength()) + 1);
        int n = ::GetWindowTextW(m_hWnd, buffer.data(), static_cast<int>(buffer.size()));
        return std::u16string(reinterpret_cast<const char16_t*>(buffer.data()),
                              static_cast<size_t>(n > 0 ? n : 0));
    }
    int GetTextLength() const override { return ::GetWindowTextLengthW(m_hWnd); }
    void ShowWindow(bool bShow) override { ::ShowWindow(m_hWnd, bShow ? SW_SHOW : SW_HIDE); }
    bool IsWindowVisible() const override { return ::IsWindowVisible(m_hWnd) != FALSE; }
    void EnableWindow(bool bEnable) override { ::EnableWindow(m_hWnd, bEnable); }
    bool IsWindowEnabled() const override { return ::IsWindowEnabled(m_hWnd) != FALSE; }
    void MoveWindow(const SRect& r, bool bRepaint) override
    {
        ::MoveWindow(m_hWnd, r.left, r.top, r.right - r.left, r.bottom - r.top, bRepaint);
    }
    SRect GetWindowRect() const override
    {
        RECT r{};
        ::GetWindowRect(m_hWnd, &r);
        return {r.left, r.top, r.right, r.bottom};
    }
    void UpdateWindow() override { ::UpdateWindow(m_hWnd); }
    void SetFocus() override { ::SetFocus(m_hWnd); }
    void SetFont(const CFontBackend* pFont, bool bRedraw) override;

protected:
    HWND m_hWnd;
};

class CWin32Edit : public CEditBackend {
public:
    explicit CWin32Edit(HWND hWnd) : m_hWnd(hWnd) {}
    void SetSel(int nStart, int nEnd) override
    {
        ::SendMessageW(m_hWnd, EM_SETSEL, static_cast<WPARAM>(nStart), nEnd);
    }
    void GetSel(int& nStart, int& nEnd) const override
    {
        DWORD s = 0, e = 0;
        ::SendMessageW(m_hWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
        nStart = static_cast<int>(s);
        nEnd = static_cast<int>(e);
    }
    void ScrollCaret() override { ::SendMessageW(m_hWnd, EM_SCROLLCARET, 0, 0); }
    void ReplaceSel(std::u16string_view text, bool bCanUndo) override
    {
        std::u16string z(text);
        ::SendMessageW(m_hWnd, EM_REPLACESEL, bCanUndo, reinterpret_cast<LPARAM>(Wide(z.c_str())));
    }
    void SetLimitText(unsigned nMax) override { ::SendMessageW(m_hWnd, EM_SETLIMITTEXT, nMax, 0); }
    unsigned GetLimitText() const override
    {
        return static_cast<unsigned>(::SendMessageW(m_hWnd, EM_GETLIMITTEXT, 0, 0));
    }

private:
    HWND m_hWnd;
};

class CWin32Button : public CButtonBackend {
public:
    explicit CWin32Button(HWND hWnd) : m_hWnd(hWnd) {}
    bool GetCheck() const override { return ::SendMessageW(m_hWnd, BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void SetCheck(bool bChecked) override
    {
        ::SendMessageW(m_hWnd, BM_SETCHECK, bChecked ? BST_CHECKED : BST_UNCHECKED, 0);
    }

private:
    HWND m_hWnd;
};

class CWin32Combo : public CComboBackend {
public:
    explicit CWin32Combo(HWND hWnd) : m_hWnd(hWnd) {}
    int AddString(std::u16string_view text) override
    {
        std::u16string z(text);
        const LRESULT n = ::SendMessageW(m_hWnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(z.c_str())));
        return n < 0 ? -1 : static_cast<int>(n); // CB_ERR, CB_ERRSPACE
    }
    void ResetContent() override { ::SendMessageW(m_hWnd, CB_RESETCONTENT, 0, 0); }
    int GetCount() const override
    {
        return std::max(0, static_cast<int>(::SendMessageW(m_hWnd, CB_GETCOUNT, 0, 0)));
    }
    // Windows clears the selection for an index outside the list; Wine keeps it: -1 clears it on both.
    void SetCurSel(int nIndex) override
    {
        const int n = nIndex >= 0 && nIndex < GetCount() ? nIndex : -1;
        ::SendMessageW(m_hWnd, CB_SETCURSEL, static_cast<WPARAM>(n), 0);
    }
    int GetCurSel() const override
    {
        const LRESULT n = ::SendMessageW(m_hWnd, CB_GETCURSEL, 0, 0);
        return n < 0 ? -1 : static_cast<int>(n);
    }
    std::u16string GetLBText(int nIndex) const override
    {
        const LRESULT n = ::SendMessageW(m_hWnd, CB_GETLBTEXTLEN, static_cast<WPARAM>(nIndex), 0);
        if (n < 0)
            return {};
        std::vector<wchar_t> buffer(static_cast<size_t>(n) + 1);
        const LRESULT got = ::SendMessageW(m_hWnd, CB_GETLBTEXT, static_cast<WPARAM>(nIndex),
                                           reinterpret_cast<LPARAM>(buffer.data()));
        return std::u16string(reinterpret_cast<const char16_t*>(buffer.data()),
                              got > 0 ? std::min(static_cast<size_t>(got), static_cast<size_t>(n)) : 0);
    }

private:
    HWND m_hWnd;
};

// The bar's range is set with each wrapper: a template cannot carry it.
class CWin32Progress : public CProgressBackend {
public:
    explicit CWin32Progress(HWND hWnd) : m_hWnd(hWnd)
    {
        ::SendMessageW(m_hWnd, PBM_SETRANGE32, 0, kProgressRange);
    }
    void SetPos(int nPos) override
    {
        ::SendMessageW(m_hWnd, PBM_SETPOS, static_cast<WPARAM>(std::clamp(nPos, 0, kProgressRange)), 0);
    }
    int GetPos() const override { return static_cast<int>(::SendMessageW(m_hWnd, PBM_GETPOS, 0, 0)); }
    // Common controls before version 6 (and Wine's) ignore the state, and then report it normal.
    void SetState(EProgressState state) override
    {
        const WPARAM n = state == EProgressState::Error    ? PBST_ERROR
                         : state == EProgressState::Paused ? PBST_PAUSED
                                                           : PBST_NORMAL;
        ::SendMessageW(m_hWnd, PBM_SETSTATE, n, 0);
    }
    EProgressState GetState() const override
    {
        switch (::SendMessageW(m_hWnd, PBM_GETSTATE, 0, 0)) {
        case PBST_ERROR:
            return EProgressState::Error;
        case PBST_PAUSED:
            return EProgressState::Paused;
        default:
            return EProgressState::Normal;
        }
    }

private:
    HWND m_hWnd;
};

bool HasClass(HWND hWnd, const wchar_t* pClass)
{
    wchar_t name[32] = {};
    return ::GetClassNameW(hWnd, name, 32) > 0 && ::lstrcmpiW(name, pClass) == 0;
}

bool IsCheckBox(HWND hWnd)
{
    const LONG_PTR type = ::GetWindowLongPtrW(hWnd, GWL_STYLE) & BS_TYPEMASK;
    return HasClass(hWnd, L"Button") && (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX);
}
} // namespace

HFONT FontHandle(const CFontBackend* pFont); // win32_ui.cpp

void CWin32Wnd::SetFont(const CFontBackend* pFont, bool bRedraw)
{
    ::SendMessageW(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle(pFont)), bRedraw ? 1 : 0);
}

SControlBackend MakeWin32Backend(HWND hWnd)
{
    SControlBackend out{std::make_unique<CWin32Wnd>(hWnd), nullptr, nullptr, nullptr, nullptr};
    if (HasClass(hWnd, L"Edit"))
        out.pEdit = std::make_unique<CWin32Edit>(hWnd);
    else if (IsCheckBox(hWnd))
        out.pButton = std::make_unique<CWin32Button>(hWnd);
    else if (HasClass(hWnd, L"ComboBox"))
        out.pCombo = std::make_unique<CWin32Combo>(hWnd);
    else if (HasClass(hWnd, PROGRESS_CLASSW))
        out.pProgress = std::make_unique<CWin32Progress>(hWnd);
    return out;
}
} // namespace lvp
