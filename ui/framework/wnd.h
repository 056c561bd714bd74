// CWnd: a window or control, attached to one backend window.
#pragma once
#include "ui/framework/backend.h"

#include <memory>

namespace lvp {
class CWnd {
public:
    CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    virtual ~CWnd() = default;

    // Takes the backend window; the window itself stays owned by its parent or backend.
    void Attach(std::unique_ptr<CWndBackend> pBackend) { m_pBackend = std::move(pBackend); }
    std::unique_ptr<CWndBackend> Detach() { return std::move(m_pBackend); }
    bool IsAttached() const { return m_pBackend != nullptr; }

    int GetDlgCtrlID() const { return Backend().GetDlgCtrlID(); }
    void SetWindowText(std::u16string_view text) { Backend().SetWindowText(text); }
    std::u16string GetWindowText() const { return Backend().GetWindowText(); }
    int GetWindowTextLength() const { return Backend().GetWindowTextLength(); }
    void ShowWindow(bool bShow) { Backend().ShowWindow(bShow); }
    bool IsWindowVisible() const { return Backend().IsWindowVisible(); }
    void EnableWindow(bool bEnable) { Backend().EnableWindow(bEnable); }
    bool IsWindowEnabled() const { return Backend().IsWindowEnabled(); }
    void MoveWindow(const SRect& rect, bool bRepaint = true) { Backend().MoveWindow(rect, bRepaint); }
    SRect GetWindowRect() const { return Backend().GetWindowRect(); }
    void UpdateWindow() { Backend().UpdateWindow(); }

protected:
    // Using an unattached window is a programming error, reported like other invalid arguments.
    CWndBackend& Backend() const;

private:
    std::unique_ptr<CWndBackend> m_pBackend;
};
} // namespace lvp
