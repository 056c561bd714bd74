// The wait cursor and the choice of the cursor backend.
#include "ui/framework/wait_cursor.h"

#include "ui/framework/backend.h"

namespace lvp {
namespace {
CCursorBackend* g_pCursorBackend = nullptr; // not owned
CCursorBackend& CurrentCursorBackend()
{
    return g_pCursorBackend ? *g_pCursorBackend : DefaultCursorBackend();
}
} // namespace

CCursorBackend* SetCursorBackend(CCursorBackend* pBackend)
{
    CCursorBackend* pBefore = g_pCursorBackend;
    g_pCursorBackend = pBackend;
    return pBefore;
}

CWaitCursor::CWaitCursor() : m_pBackend(&CurrentCursorBackend())
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
