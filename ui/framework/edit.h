// CEdit: an edit control, with the operations the output pane needs.
#pragma once
#include "ui/framework/wnd.h"

namespace lvp {
class CEdit : public CWnd {
public:
    void SetSel(int nStart, int nEnd) { EditBackend().SetSel(nStart, nEnd); }
    void GetSel(int& nStart, int& nEnd) const { EditBackend().GetSel(nStart, nEnd); }
    void ScrollCaret() { EditBackend().ScrollCaret(); }
    void ReplaceSel(std::u16string_view text, bool bCanUndo = false) { EditBackend().ReplaceSel(text, bCanUndo); }
    void SetLimitText(unsigned nMax) { EditBackend().SetLimitText(nMax); }
    unsigned GetLimitText() const { return EditBackend().GetLimitText(); }
};
} // namespace lvp
