// CWaitCursor: shows the wait cursor from construction until End or destruction.
#pragma once

namespace lvp {
class CCursorBackend;
class CUiBackend;

class CWaitCursor {
public:
    explicit CWaitCursor(CUiBackend& ui);
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
    ~CWaitCursor() { End(); }
    // Restores the cursor before; later calls do nothing.
    void End();

private:
    CCursorBackend* m_pBackend;
};
} // namespace lvp
