// CWnd's check that it has a backend window, and fonts for windows.
#include "ui/framework/wnd.h"

#include "ui/framework/gdi.h"

#include <stdexcept>

namespace lvp {
CWndBackend& CWnd::Backend() const
{
    if (!m_control.pWnd)
        throw std::logic_error("CWnd: no window attached");
    return *m_control.pWnd;
}

CEditBackend& CWnd::EditBackend() const
{
    if (!m_control.pEdit)
        throw std::logic_error("CEdit: no edit control attached");
    return *m_control.pEdit;
}

CComboBackend& CWnd::ComboBackend() const
{
    if (!m_control.pCombo)
        throw std::logic_error("CComboBox: no drop-down list attached");
    return *m_control.pCombo;
}

CProgressBackend& CWnd::ProgressBackend() const
{
    if (!m_control.pProgress)
        throw std::logic_error("CProgressCtrl: no progress bar attached");
    return *m_control.pProgress;
}

void CWnd::SetFont(const CFont* pFont, bool bRedraw)
{
    Backend().SetFont(pFont ? pFont->Backend() : nullptr, bRedraw);
}
} // namespace lvp
