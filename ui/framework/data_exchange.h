// Field exchange between a dialog's controls and its members.
#pragma once
#include "ui/framework/dialog.h"

#include <cstdint>
#include <string>

namespace lvp {
class CDataExchange {
public:
    // Thrown by Fail and caught by CDialog::UpdateData.
    struct CFailure {};

    CDataExchange(CDialog& dlg, bool bSaveAndValidate) : m_pDlgWnd(&dlg), m_bSaveAndValidate(bSaveAndValidate)
    {
    }

    // The control nId of the dialog; a missing control is a fault of the template.
    CWnd& Control(int nId);
    // Ends a failed read: the field nId gets the focus with its whole text selected.
    [[noreturn]] void Fail(int nId);

    CDialog* m_pDlgWnd;
    bool m_bSaveAndValidate;
};

// The whole text of the field.
void DDX_Text(CDataExchange* pDX, int nId, std::u16string& value);
// Written as "%u"; read by scanning at most the first 63 characters for an unsigned number. A
// field without a number, or with one outside nMin..nMax, shows the warning text nIdPrompt and
// fails the exchange; the member then keeps its value.
void DDX_Text(CDataExchange* pDX, int nId, std::uint32_t& value, unsigned nIdPrompt, std::uint32_t nMin = 0,
              std::uint32_t nMax = UINT32_MAX);
// The check state of check box nId.
void DDX_Check(CDataExchange* pDX, int nId, bool& value);
// The selected item's index of drop-down list nId (-1: none selected).
void DDX_CBIndex(CDataExchange* pDX, int nId, int& index);
// Attaches control to the field on the first exchange; later exchanges leave it as it is.
void DDX_Control(CDataExchange* pDX, int nId, CWnd& control);

// The unsigned number that the first 63 characters of text begin with (after blanks), as "%u"
// scans it; false when there is none, it is negative or it needs more than 32 bits.
bool ScanUnsigned(std::u16string_view text, std::uint32_t& value);
} // namespace lvp
