// CDialog: a modal dialog from a template of the module's resources, with field exchange and
// command bindings.
#pragma once
#include "ui/framework/wnd.h"

#include <exception>
#include <functional>
#include <map>
#include <vector>

namespace lvp {
class CDataExchange;

// End results of a dialog.
constexpr std::intptr_t kIdOk = 1;
constexpr std::intptr_t kIdCancel = 2;

class CDialog : public CWnd, private CDialogEvents {
public:
    // ui: the window system that shows it; pParent: the owner window (null: none). Neither owned.
    CDialog(CUiBackend& ui, unsigned nIdTemplate, CWnd* pParent);
    ~CDialog() override;

    // Runs the dialog; returns the result given to EndDialog, or -1 when it could not be shown.
    // An exception raised by a handler ends the dialog and is rethrown here, once the window
    // system has returned.
    virtual std::intptr_t DoModal();
    void EndDialog(std::intptr_t nResult);
    // A window object for a control of the open dialog, owned by the dialog; null if none.
    CWnd* GetDlgItem(int nId);
    // Exchanges the fields with the members: true reads the fields, false writes them.
    // False when a field could not be read.
    bool UpdateData(bool bSaveAndValidate = true);
    CUiBackend& Ui() const { return m_ui; }
    // Gives the focus to a field and selects its whole text, as after a refused input.
    void FocusField(int nId);
    // The check state of check box nId; false when there is no such check box.
    bool IsDlgButtonChecked(int nId);
    void CheckDlgButton(int nId, bool bChecked);

protected:
    // Writes the members into the fields; true lets the system place the focus.
    virtual bool OnInitDialog();
    virtual void DoDataExchange(CDataExchange* /*pDX*/) {}
    // Reads the fields, and ends the dialog with 1 if that succeeded.
    virtual void OnOK();
    // Ends the dialog with 2.
    virtual void OnCancel();
    // A bound command's handler, else OK and Cancel; true when handled.
    virtual bool OnCommand(int nId, int nCode);
    // Binds a press of button nId to a handler.
    void OnClicked(int nId, std::function<void()> handler);
    // Binds the user's change of drop-down list nId's selection to a handler.
    void OnSelChange(int nId, std::function<void()> handler);
    // The run of a program on the dialog's thread (CDialogBackend::SetRunning, PollStopRequest).
    void SetRunning(bool bRunning)
    {
        if (m_pDialog)
            m_pDialog->SetRunning(bRunning);
    }
    bool PollStopRequest() { return m_pDialog && m_pDialog->PollStopRequest(); }

private:
    friend class CDataExchange;
    friend void DDX_Control(CDataExchange* pDX, int nId, CWnd& control);
    friend void DDX_CBIndex(CDataExchange* pDX, int nId, int& index);
    // New operations on a control of the open dialog, apart from GetDlgItem's objects.
    SControlBackend ControlBackend(int nId)
    {
        return m_pDialog ? m_pDialog->GetDlgItem(nId) : SControlBackend{};
    }
    bool Dispatch(const SDialogEvent& event) noexcept override;
    bool HandleEvent(const SDialogEvent& event);
    // Detaches every window object from the dialog's windows.
    void ReleaseWindows();
    // Controls attached by field exchange, which receive the reflected colour queries.
    void RegisterControl(CWnd& control) { m_controls.push_back(&control); }

    CUiBackend& m_ui;
    unsigned m_nIdTemplate;
    CWnd* m_pParentWnd;
    std::unique_ptr<CDialogBackend> m_pDialog;
    std::exception_ptr m_pError;
    std::map<std::pair<int, int>, std::function<void()>> m_commands;
    std::map<int, std::unique_ptr<CWnd>> m_items;
    std::vector<CWnd*> m_controls;
};
} // namespace lvp
