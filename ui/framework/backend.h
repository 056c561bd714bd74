// The seams between the portable window classes and the window systems behind them.
#pragma once
#include <string>
#include <string_view>

namespace lvp {
struct SRect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// One window or control of a backend (a real HWND, an in-memory control, ...). CWnd forwards
// to it; a backend may refuse operations that make no sense for its kind by ignoring them.
class CWndBackend {
public:
    virtual ~CWndBackend() = default;
    virtual int GetDlgCtrlID() const = 0;
    virtual void SetWindowText(std::u16string_view text) = 0;
    virtual std::u16string GetWindowText() const = 0;
    virtual int GetWindowTextLength() const = 0;
    virtual void ShowWindow(bool bShow) = 0;
    virtual bool IsWindowVisible() const = 0;
    virtual void EnableWindow(bool bEnable) = 0;
    virtual bool IsWindowEnabled() const = 0;
    virtual void MoveWindow(const SRect& rect, bool bRepaint) = 0;
    virtual SRect GetWindowRect() const = 0;
    virtual void UpdateWindow() = 0;
    // Edit-control operations.
    virtual void SetSel(int nStart, int nEnd) = 0;
    virtual void GetSel(int& nStart, int& nEnd) const = 0;
    virtual void ScrollCaret() = 0;
    virtual void ReplaceSel(std::u16string_view text, bool bCanUndo) = 0;
    virtual void SetLimitText(unsigned nMax) = 0;
    virtual unsigned GetLimitText() const = 0;
};

// The cursor of the user-interface thread.
class CCursorBackend {
public:
    virtual ~CCursorBackend() = default;
    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;
};

// The build's own cursor (Windows: the system cursor; Linux: the terminal rendition's).
CCursorBackend& DefaultCursorBackend();
// Replaces the cursor used by CWaitCursor (nullptr: the default); returns the one before.
// Does not own the backend.
CCursorBackend* SetCursorBackend(CCursorBackend* pBackend);
} // namespace lvp
