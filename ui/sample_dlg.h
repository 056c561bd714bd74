// CSampleDlg: the fusion dialog, whose fields turn into the live output pane of the run.
#pragma once
#include "platform/process.h"
#include "ui/color_edit.h"
#include "ui/framework/dialog.h"
#include "ui/framework/gdi.h"
#include "ui/selection_list.h"

#include <cstdint>
#include <string>

namespace lvp {
class CSampleDlg : public CDialog {
public:
    // pSelection: the command's list of selected files, read by the run only; not owned.
    CSampleDlg(const SelectionList* pSelection, CWnd* pParent);

    std::u16string m_strEnfusePath;
    std::u16string m_strOutputFile;
    std::uint32_t m_nJpegQuality = 95;
    const SelectionList* m_pSelection;
    CFont m_fontOutput;
    CColorEdit m_editOutput;
    bool m_bRunDone = false;

    void OnBrowse();
    void OnBnClickedOk();
    void RunAndShowOutput(const platform::SCommandLine& command);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    bool OnInitDialog() override;
    void OnOK() override;
};
} // namespace lvp
