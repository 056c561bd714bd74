// The in-memory backend: controls as plain data that tests drive and inspect, with the edit
// control's text, selection and limit rules; also what the terminal rendition draws.
#pragma once
#include "ui/framework/backend.h"

#include <memory>

namespace lvp {
enum class EControlKind { Window, Edit, Static, Button };

struct SModelControl {
    // An edit control takes at most this many characters until SetLimitText raises it.
    static constexpr unsigned kDefaultLimitText = 30000;
    explicit SModelControl(int id = 0, EControlKind k = EControlKind::Edit) : nId(id), kind(k) {}

    int nId;
    EControlKind kind;
    std::u16string strText;
    SRect rect;
    bool bVisible = true;
    bool bEnabled = true;
    int nSelStart = 0; // anchor; may be after nSelEnd
    int nSelEnd = 0;   // caret
    unsigned nLimitText = kDefaultLimitText;
    int nScrollCaretCount = 0; // how often the view was scrolled to the caret
    int nUpdateCount = 0;      // how often it was repainted
};

// A backend window over a model control; does not own the control.
std::unique_ptr<CWndBackend> MakeModelBackend(SModelControl& control);

// A cursor that records what was asked of it.
class CModelCursor : public CCursorBackend {
public:
    void BeginWaitCursor() override
    {
        ++m_nDepth;
        ++m_nBeginCount;
    }
    void EndWaitCursor() override
    {
        if (m_nDepth > 0)
            --m_nDepth;
    }
    int m_nDepth = 0;      // > 0 while the wait cursor is shown
    int m_nBeginCount = 0; // how often it was begun
};
} // namespace lvp
