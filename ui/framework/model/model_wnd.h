// The in-memory backend's controls: plain data that tests drive and inspect, with the edit
// control's text, selection and limit rules; also what the terminal rendition draws.
#pragma once
#include "resources/dialog.h"
#include "ui/framework/backend.h"

#include <functional>
#include <optional>
#include <vector>

namespace lvp {
struct SModelDialog;

struct SModelControl {
    // An edit control takes at most this many characters until SetLimitText raises it.
    static constexpr unsigned kDefaultLimitText = 30000;
    explicit SModelControl(int id = 0, EControlKind k = EControlKind::Edit) : nId(id), kind(k) {}

    int nId;
    EControlKind kind;
    std::uint32_t nStyles = 0; // DialogStyle flags of the template
    std::u16string strText;
    SRect rect; // pixels, in the parent's client coordinates (the dialog: on the screen)
    bool bVisible = true;
    bool bEnabled = true;
    bool bChecked = false;             // a check box's state
    std::vector<std::u16string> items; // a drop-down list's items
    int nCurSel = -1;                  // its selected item; -1: none
    int nSelStart = 0;                 // anchor; may be after nSelEnd
    int nSelEnd = 0;                   // caret
    int nPos = 0;                      // a progress bar's position, of kProgressRange
    EProgressState progressState = EProgressState::Normal;
    unsigned nPosChanges = 0; // how often the bar's position was set to a new value
    unsigned nLimitText = kDefaultLimitText;
    std::optional<SFontSpec> font;   // set by SetFont; none: the dialog's font
    int nScrollCaretCount = 0;       // how often the view was scrolled to the caret
    int nUpdateCount = 0;            // how often it was repainted
    unsigned nTextEdits = 0;         // changes of the text other than additions at its end
    SModelDialog* pDialog = nullptr; // the dialog it belongs to, if any; not owned
};

// Window and edit operations over a model control; do not own the control.
SControlBackend MakeModelBackend(SModelControl& control);

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
