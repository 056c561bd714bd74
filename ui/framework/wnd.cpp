// CWnd's check that it has a backend window.
#include "ui/framework/wnd.h"

#include <stdexcept>

namespace lvp {
CWndBackend& CWnd::Backend() const
{
    if (!m_pBackend)
        throw std::logic_error("CWnd: no window attached");
    return *m_pBackend;
}
} // namespace lvp
