// The wait cursor of a window system.
#include "ui/framework/wait_cursor.h"

#include "ui/framework/backend.h"

namespace lvp {
CWaitCursor::CWaitCursor(CUiBackend& ui) : m_pBackend(&ui.Cursor())
{
    m_pBackend->BeginWaitCursor();
}

void CWaitCursor::End()
{
    if (m_pBackend)
        m_pBackend->EndWaitCursor();
    m_pBackend = nullptr;
}
} // namespace lvp
