// CWnd: a window or control, attached to one backend window.
#pragma once
#include "ui/framework/backend.h"

namespace lvp {
class CFont;

class CWnd {
public:
    CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    virtual ~CWnd() = default;

    // Takes the backend's operations; the window itself stays owned by its parent or backend.
    void Attach(SControlBackend control) { m_control = std::move(control); }
    void Attach(std::unique_ptr<CWndBackend> pWnd)
    {
        m_control = {std::move(pWnd), nullptr, nullptr, nullptr, nullptr};
    }
    // Operations on a native window this object does not own (the host's window).
    void AttachWindow(CUiBackend& ui, platform::WindowId window) { Attach(ui.WrapWindow(window)); }
    SControlBackend Detach() { return std::move(m_control); }
    bool IsAttached() const { return m_control.pWnd != nullptr; }

    platform::WindowId GetWindowId() const { return IsAttached() ? m_control.pWnd->GetWindowId() : nullptr; }
    int GetDlgCtrlID() const { return Backend().GetDlgCtrlID(); }
    void SetText(std::u16string_view text) { Backend().SetText(text); }
    std::u16string GetText() const { return Backend().GetText(); }
    int GetTextLength() const { return Backend().GetTextLength(); }
    void ShowWindow(bool bShow) { Backend().ShowWindow(bShow); }
    bool IsWindowVisible() const { return Backend().IsWindowVisible(); }
    void EnableWindow(bool bEnable) { Backend().EnableWindow(bEnable); }
    bool IsWindowEnabled() const { return Backend().IsWindowEnabled(); }
    void MoveWindow(const SRect& rect, bool bRepaint = true) { Backend().MoveWindow(rect, bRepaint); }
    SRect GetWindowRect() const { return Backend().GetWindowRect(); }
    void UpdateWindow() { Backend().UpdateWindow(); }
    void SetFocus() { Backend().SetFocus(); }
    void SetFont(const CFont* pFont, bool bRedraw = true);

    // The control-colour query that the parent reflects to this control; true when answered.
    virtual bool OnReflectCtlColor(SCtlColor& /*color*/) { return false; }

protected:
    // Using an unattached window is a programming error, reported like other invalid arguments.
    CWndBackend& Backend() const;
    CEditBackend& EditBackend() const;
    CComboBackend& ComboBackend() const;
    CProgressBackend& ProgressBackend() const;

private:
    SControlBackend m_control;
};

// A CWnd over a window it does not own, detached again before it is released.
class CTempWnd : public CWnd {
public:
    CTempWnd(CUiBackend& ui, platform::WindowId window) { AttachWindow(ui, window); }
    ~CTempWnd() override { Detach(); }
};
} // namespace lvp
