// CComboBox: a drop-down list, with the operations of its items and its selection.
#pragma once
#include "ui/framework/wnd.h"

namespace lvp {
class CComboBox : public CWnd {
public:
    int AddString(std::u16string_view text) { return ComboBackend().AddString(text); }
    void ResetContent() { ComboBackend().ResetContent(); }
    int GetCount() const { return ComboBackend().GetCount(); }
    void SetCurSel(int nIndex) { ComboBackend().SetCurSel(nIndex); }
    int GetCurSel() const { return ComboBackend().GetCurSel(); }
    std::u16string GetLBText(int nIndex) const { return ComboBackend().GetLBText(nIndex); }
};
} // namespace lvp
