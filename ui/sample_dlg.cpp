// CSampleDlg: field exchange, the program check on OK, the browse button, and the run.
#include "ui/sample_dlg.h"

#include "platform/file_probe.h"
#include "resources/ids.h"
#include "resources/strings.h"
#include "ui/command_line.h"
#include "ui/framework/data_exchange.h"
#include "ui/framework/message_box.h"
#include "ui/tool_run.h"

namespace lvp {
namespace {
// Hidden for the run, in this order: each is disabled and then collapsed.
constexpr int kInputControls[] = {IDC_PROGRAM_LABEL, IDC_BROWSE,  IDC_PROGRAM, IDC_OUTPUT_FILE_LABEL,
                                  IDC_OUTPUT_FILE,   IDC_QUALITY_LABEL, IDC_QUALITY};
constexpr SRect kCollapsed{-1, -1, -1, -1}; // at (-1, -1), 0 x 0 pixels

SFontSpec OutputFont()
{
    SFontSpec font;
    font.nHeight = 13;
    font.nWeight = 400;
    font.nCharSet = 1;        // DEFAULT_CHARSET
    font.nOutPrecision = 5;   // OUT_DEVICE_PRECIS
    font.nClipPrecision = 1;  // CLIP_CHARACTER_PRECIS
    font.nQuality = 2;        // PROOF_QUALITY
    font.nPitchAndFamily = 0x22; // VARIABLE_PITCH | FF_SWISS
    font.strFace = u"Courier New";
    return font;
}
} // namespace

CSampleDlg::CSampleDlg(const SelectionList* pSelection, CWnd* pParent)
    : CDialog(IDD_FUSION, pParent), m_pSelection(pSelection)
{
    OnClicked(IDC_BROWSE, [this] { OnBrowse(); });
    OnClicked(IDC_OK, [this] { OnBnClickedOk(); });
}

void CSampleDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_OUTPUT_FILE, m_strOutputFile);
    // enfuse takes a JPEG quality of 1 to 100; the store keeps nothing else.
    DDX_Text(pDX, IDC_QUALITY, m_nJpegQuality, IDS_QUALITY_NOT_A_NUMBER, 1, 100);
    DDX_Text(pDX, IDC_PROGRAM, m_strEnfusePath);
    DDX_Control(pDX, IDC_OUTPUT_PANE, m_editOutput);
}

bool CSampleDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    // No font: the pane keeps the system's.
    m_fontOutput.CreateFontIndirect(OutputFont());
    m_editOutput.SetFont(&m_fontOutput, false);
    return true;
}

void CSampleDlg::OnBrowse()
{
    SOpenFileRequest request{LoadModuleString(IDS_PROGRAM_FILTER), u"exif", 6}; // OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT
    std::u16string path;
    if (!ShowOpenFileDialog(request, path) || path.empty())
        return;
    m_strEnfusePath = path;
    // Only the program field: what was typed into the others since they were last read stays.
    if (CWnd* pField = GetDlgItem(IDC_PROGRAM))
        pField->SetText(m_strEnfusePath);
}

void CSampleDlg::OnBnClickedOk()
{
    if (!UpdateData(true))
        return;
    if (platform::FileOpensForReading(m_strEnfusePath)) {
        OnOK();
        return;
    }
    ShowMessageBox(LoadModuleString(IDS_PROGRAM_NOT_FOUND), EMessageIcon::Warning);
    OnBrowse();
}

void CSampleDlg::OnOK()
{
    if (m_bRunDone) {
        CDialog::OnOK();
        return;
    }
    m_editOutput.ShowWindow(true);
    if (CWnd* pCancel = GetDlgItem(IDC_CANCEL))
        pCancel->MoveWindow(kCollapsed, true); // stays enabled: Escape still ends the dialog
    for (int nId : kInputControls) {
        if (CWnd* pControl = GetDlgItem(nId)) {
            pControl->EnableWindow(false);
            pControl->MoveWindow(kCollapsed, true);
        }
    }
    RunAndShowOutput(BuildToolCommand(m_strEnfusePath, m_strOutputFile, m_nJpegQuality, *m_pSelection));
    m_bRunDone = true;
}

void CSampleDlg::RunAndShowOutput(const platform::SCommandLine& command)
{
    lvp::RunAndShowOutput(m_editOutput, command);
}
} // namespace lvp
