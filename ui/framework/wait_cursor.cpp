// The wait cursor of the backend in use, and the choice of that backend.
#include "ui/framework/wait_cursor.h"

#include "ui/framework/backend.h"

namespace lvp {
namespace {
CUiBackend* g_pUiBackend = nullptr; // installed by a test; not owned
} // namespace

CUiBackend& UiBackend()
{
    return g_pUiBackend ? *g_pUiBackend : DefaultUiBackend();
}

CUiBackend* SetUiBackend(CUiBackend* pBackend)
{
    CUiBackend* pBefore = g_pUiBackend;
    g_pUiBackend = pBackend;
    return pBefore;
}

CWaitCursor::CWaitCursor() : m_pBackend(&UiBackend().Cursor())
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
