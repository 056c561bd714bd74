// CDialog: the modal run over a backend dialog, and the one dispatch of its events.
#include "ui/framework/dialog.h"

#include "ui/framework/data_exchange.h"

#include <utility>

namespace lvp {
CDialog::CDialog(CUiBackend& ui, unsigned nIdTemplate, CWnd* pParent)
    : m_ui(ui), m_nIdTemplate(nIdTemplate), m_pParentWnd(pParent)
{
}

CDialog::~CDialog()
{
    ReleaseWindows();
}

// Control objects refer to backend windows of the dialog: they go first.
void CDialog::ReleaseWindows()
{
    for (CWnd* pControl : m_controls)
        pControl->Detach();
    m_items.clear();
    Detach();
}

std::intptr_t CDialog::DoModal()
{
    platform::WindowId parent = m_pParentWnd ? m_pParentWnd->GetWindowId() : nullptr;
    m_pDialog = m_ui.CreateDialogBackend(m_nIdTemplate, parent);
    if (!m_pDialog)
        return -1;
    m_pError = nullptr;
    std::intptr_t nResult = m_pDialog->RunModal(*this);
    ReleaseWindows(); // the windows are gone: nothing may use them any more
    if (m_pError)
        std::rethrow_exception(std::exchange(m_pError, nullptr));
    return nResult;
}

void CDialog::EndDialog(std::intptr_t nResult)
{
    if (m_pDialog)
        m_pDialog->EndDialog(nResult);
}

void CDialog::FocusField(int nId)
{
    SControlBackend field = ControlBackend(nId);
    if (field.pWnd)
        field.pWnd->SetFocus();
    if (field.pEdit)
        field.pEdit->SetSel(0, -1);
}

bool CDialog::IsDlgButtonChecked(int nId)
{
    SControlBackend box = ControlBackend(nId);
    return box.pButton && box.pButton->GetCheck();
}

void CDialog::CheckDlgButton(int nId, bool bChecked)
{
    SControlBackend box = ControlBackend(nId);
    if (box.pButton)
        box.pButton->SetCheck(bChecked);
}

CWnd* CDialog::GetDlgItem(int nId)
{
    auto it = m_items.find(nId);
    if (it != m_items.end())
        return it->second.get();
    if (!m_pDialog)
        return nullptr;
    SControlBackend control = m_pDialog->GetDlgItem(nId);
    if (!control.pWnd)
        return nullptr;
    auto pWnd = std::make_unique<CWnd>();
    pWnd->Attach(std::move(control));
    return m_items.emplace(nId, std::move(pWnd)).first->second.get();
}

bool CDialog::UpdateData(bool bSaveAndValidate)
{
    CDataExchange dx(*this, bSaveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (const CDataExchange::CFailure&) {
        return false; // the user has been told; the field has the focus
    }
    return true;
}

bool CDialog::OnInitDialog()
{
    UpdateData(false);
    return true;
}

void CDialog::OnOK()
{
    if (UpdateData(true))
        EndDialog(kIdOk);
}

void CDialog::OnCancel()
{
    EndDialog(kIdCancel);
}

void CDialog::OnClicked(int nId, std::function<void()> handler)
{
    m_commands[{nId, kBnClicked}] = std::move(handler);
}

void CDialog::OnSelChange(int nId, std::function<void()> handler)
{
    m_commands[{nId, kCbnSelChange}] = std::move(handler);
}

bool CDialog::OnCommand(int nId, int nCode)
{
    auto it = m_commands.find({nId, nCode});
    if (it != m_commands.end()) {
        it->second();
        return true;
    }
    if (nCode != kBnClicked)
        return false;
    if (nId == kIdOk)
        OnOK();
    else if (nId == kIdCancel)
        OnCancel();
    else
        return false;
    return true;
}

bool CDialog::HandleEvent(const SDialogEvent& event)
{
    switch (event.kind) {
    case EDialogEvent::InitDialog:
        Attach(m_pDialog->Window());
        return OnInitDialog();
    case EDialogEvent::Command:
        return OnCommand(event.nId, event.nCode);
    case EDialogEvent::CtlColor:
        for (CWnd* pControl : m_controls) {
            if (pControl->IsAttached() && pControl->GetDlgCtrlID() == event.nId && event.pColor)
                return pControl->OnReflectCtlColor(*event.pColor);
        }
        return false;
    case EDialogEvent::Enter:
        return OnCommand(static_cast<int>(kIdOk), kBnClicked);
    case EDialogEvent::Escape:
    case EDialogEvent::Close:
        return OnCommand(static_cast<int>(kIdCancel), kBnClicked);
    }
    return false;
}

bool CDialog::Dispatch(const SDialogEvent& event) noexcept
{
    // Nothing may unwind through the window system: the first exception ends the dialog and
    // DoModal raises it again once the backend has returned.
    try {
        if (!m_pError)
            return HandleEvent(event);
    } catch (...) {
        m_pError = std::current_exception();
        EndDialog(-1);
    }
    return false;
}
} // namespace lvp
