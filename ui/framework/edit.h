// CEdit: an edit control, with the operations the output pane needs.
#pragma once
#include "ui/framework/wnd.h"

namespace lvp {
class CEdit : public CWnd {
public:
    void SetSel(int nStart, int nEnd) { Backend().SetSel(nStart, nEnd); }
    void GetSel(int& nStart, int& nEnd) const { Backend().GetSel(nStart, nEnd); }
    void ScrollCaret() { Backend().ScrollCaret(); }
    void ReplaceSel(std::u16string_view text, bool bCanUndo = false) { Backend().ReplaceSel(text, bCanUndo); }
    void SetLimitText(unsigned nMax) { Backend().SetLimitText(nMax); }
    unsigned GetLimitText() const { return Backend().GetLimitText(); }
};
} // namespace lvp
