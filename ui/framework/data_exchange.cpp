// Field exchange of texts, unsigned numbers and control bindings.
#include "ui/framework/data_exchange.h"

#include "platform/utf.h"
#include "resources/strings.h"
#include "ui/framework/message_box.h"

#include <cstdint>
#include <cstdio>
#include <stdexcept>

namespace lvp {
CWnd& CDataExchange::Control(int nId)
{
    CWnd* pWnd = m_pDlgWnd->GetDlgItem(nId);
    if (!pWnd)
        throw std::logic_error("dialog has no control " + std::to_string(nId));
    return *pWnd;
}

void CDataExchange::Fail(int nId)
{
    m_pDlgWnd->FocusField(nId);
    throw CFailure{};
}

void DDX_Text(CDataExchange* pDX, int nId, std::u16string& value)
{
    CWnd& field = pDX->Control(nId);
    if (pDX->m_bSaveAndValidate)
        value = field.GetText();
    else
        field.SetText(value);
}

bool ScanUnsigned(std::u16string_view text, std::uint32_t& value)
{
    // The standard scan on the first 63 characters; a character outside ASCII can belong
    // neither to the blanks before the number nor to the number.
    std::string narrow;
    for (char16_t c : text.substr(0, 63))
        narrow += c < 0x80 ? static_cast<char>(c) : '\x7f';
    // The scan of "%u" reads "-1" as 4294967295 and wraps what needs more than 32 bits: a
    // number given is taken only as the number it is.
    const size_t nStart = narrow.find_first_not_of(" \t\n\v\f\r");
    if (nStart != std::string::npos && narrow[nStart] == '-')
        return false;
    unsigned long long n = 0;
    if (std::sscanf(narrow.c_str(), "%llu", &n) != 1 || n > UINT32_MAX) // NOLINT(cert-err34-c)
        return false;
    value = static_cast<std::uint32_t>(n);
    return true;
}

void DDX_Text(CDataExchange* pDX, int nId, std::uint32_t& value, unsigned nIdPrompt, std::uint32_t nMin,
              std::uint32_t nMax)
{
    CWnd& field = pDX->Control(nId);
    if (!pDX->m_bSaveAndValidate) {
        field.SetText(platform::DecimalText(value)); // "%u"
        return;
    }
    std::uint32_t n = 0;
    if (!ScanUnsigned(field.GetText(), n) || n < nMin || n > nMax) {
        ShowMessageBox(pDX->m_pDlgWnd->Ui(), LoadModuleString(nIdPrompt), EMessageIcon::Warning);
        pDX->Fail(nId);
    }
    value = n;
}

void DDX_Check(CDataExchange* pDX, int nId, bool& value)
{
    pDX->Control(nId); // a missing box is a fault of the template
    if (pDX->m_bSaveAndValidate)
        value = pDX->m_pDlgWnd->IsDlgButtonChecked(nId);
    else
        pDX->m_pDlgWnd->CheckDlgButton(nId, value);
}

void DDX_CBIndex(CDataExchange* pDX, int nId, int& index)
{
    pDX->Control(nId); // a missing list is a fault of the template
    SControlBackend list = pDX->m_pDlgWnd->ControlBackend(nId);
    if (!list.pCombo)
        throw std::logic_error("control " + std::to_string(nId) + " is no drop-down list");
    if (pDX->m_bSaveAndValidate)
        index = list.pCombo->GetCurSel();
    else
        list.pCombo->SetCurSel(index);
}

void DDX_Control(CDataExchange* pDX, int nId, CWnd& control)
{
    if (control.IsAttached())
        return;
    SControlBackend backend = pDX->m_pDlgWnd->ControlBackend(nId);
    if (!backend.pWnd)
        throw std::logic_error("dialog has no control " + std::to_string(nId));
    control.Attach(std::move(backend));
    pDX->m_pDlgWnd->RegisterControl(control);
}
} // namespace lvp
