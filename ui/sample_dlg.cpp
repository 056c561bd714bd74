// CSampleDlg: field exchange, the program check on OK, the browse button, and the run.
#include "ui/sample_dlg.h"

#include "fusion/alignment.h"
#include "fusion/photo_checks.h"
#include "fusion/program_search.h"
#include "platform/path.h"
#include "platform/utf.h"
#include "resources/ids.h"
#include "resources/strings.h"
#include "ui/framework/data_exchange.h"
#include "ui/framework/message_box.h"
#include "ui/tool_run.h"

namespace lvp {
namespace {
// Hidden for the run, in this order: each is disabled and then collapsed.
constexpr int kInputControls[] = {IDC_PROGRAM_LABEL,     IDC_BROWSE,       IDC_PROGRAM,
                                  IDC_OUTPUT_FILE_LABEL, IDC_OUTPUT_FILE,  IDC_QUALITY_LABEL,
                                  IDC_QUALITY,           IDC_ALIGN_IMAGES, IDC_FUSE_EACH,
                                  IDC_FUSION_MODE_LABEL, IDC_FUSION_MODE};
// The items of list 1017 in the order of EFusionMode.
constexpr unsigned kFusionModeTexts[] = {IDS_MODE_EXPOSURE, IDS_MODE_FOCUS};
constexpr SRect kCollapsed{-1, -1, -1, -1}; // at (-1, -1), 0 x 0 pixels

SFontSpec OutputFont()
{
    SFontSpec font;
    font.nHeight = 13;
    font.nWeight = 400;
    font.nCharSet = 1;           // DEFAULT_CHARSET
    font.nOutPrecision = 5;      // OUT_DEVICE_PRECIS
    font.nClipPrecision = 1;     // CLIP_CHARACTER_PRECIS
    font.nQuality = 2;           // PROOF_QUALITY
    font.nPitchAndFamily = 0x22; // VARIABLE_PITCH | FF_SWISS
    font.strFace = u"Courier New";
    return font;
}
} // namespace

CSampleDlg::CSampleDlg(const platform::COs& os, CUiBackend& ui, const std::vector<std::u16string>* pSelection,
                       CWnd* pParent)
    : CDialog(ui, IDD_FUSION, pParent), m_pSelection(pSelection), m_editOutput(ui), m_os(os)
{
    OnClicked(IDC_BROWSE, [this] { OnBrowse(); });
    OnClicked(IDC_OK, [this] { OnBnClickedOk(); });
    OnClicked(IDC_FUSE_EACH, [this] { OnFuseEachClicked(); });
    OnSelChange(IDC_FUSION_MODE, [this] {
        if (!m_bRunDone)
            OfferFuseEach();
    });
}

void CSampleDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_OUTPUT_FILE, m_strOutputFile);
    // enfuse takes a JPEG quality of 1 to 100; the store keeps nothing else.
    DDX_Text(pDX, IDC_QUALITY, m_nJpegQuality, IDS_QUALITY_NOT_A_NUMBER, 1, 100);
    DDX_Text(pDX, IDC_PROGRAM, m_strEnfusePath);
    // A disabled box says nothing of the user's wish: it shows unchecked for want of the program.
    if (m_bAlignOffered)
        DDX_Check(pDX, IDC_ALIGN_IMAGES, m_bAlignImages);
    if (m_bFuseEachOffered)
        DDX_Check(pDX, IDC_FUSE_EACH, m_bFuseEachBracket);
    DDX_Control(pDX, IDC_OUTPUT_PANE, m_editOutput);
    DDX_Control(pDX, IDC_FUSION_MODE, m_listMode);
    if (m_listMode.GetCount() == 0) { // the first exchange: the items before the choice among them
        for (unsigned nIdText : kFusionModeTexts)
            m_listMode.AddString(LoadModuleString(nIdText));
    }
    DDX_CBIndex(pDX, IDC_FUSION_MODE, m_nFusionMode);
    DDX_Control(pDX, IDC_PROGRESS, m_progress);
}

std::intptr_t CSampleDlg::DoModal()
{
    struct SClearTaskbar {
        std::unique_ptr<CTaskbarProgress>& pTaskbar;
        ~SClearTaskbar() { pTaskbar.reset(); }
    } clear{m_pTaskbar};
    return CDialog::DoModal();
}

bool CSampleDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (CWnd* pBox = GetDlgItem(IDC_FUSE_EACH))
        m_strFuseEachText = pBox->GetText();
    OfferFuseEach();
    // No font: the pane keeps the system's.
    m_fontOutput.CreateFontIndirect(Ui(), OutputFont());
    m_editOutput.SetFont(&m_fontOutput, false);
    OfferAlignment();
    return true;
}

void CSampleDlg::OfferAlignment()
{
    if (m_bAlignOffered)
        m_bAlignImages = IsDlgButtonChecked(IDC_ALIGN_IMAGES);
    m_strAlignProgram = LocateAlignProgram(m_strEnfusePath, m_os);
    m_bAlignOffered = !m_strAlignProgram.empty();
    CheckDlgButton(IDC_ALIGN_IMAGES, m_bAlignOffered && m_bAlignImages);
    if (CWnd* pBox = GetDlgItem(IDC_ALIGN_IMAGES))
        pBox->EnableWindow(m_bAlignOffered);
}

void CSampleDlg::OnBrowse()
{
    SOpenFileRequest request{LoadModuleString(IDS_PROGRAM_FILTER), u"exif",
                             kOpenFileHideReadOnly | kOpenFileOverwritePrompt};
    std::u16string path;
    if (!ShowOpenFileDialog(Ui(), request, path) || path.empty())
        return;
    m_strEnfusePath = path;
    // Only the program field: what was typed into the others since they were last read stays.
    if (CWnd* pField = GetDlgItem(IDC_PROGRAM))
        pField->SetText(m_strEnfusePath);
    if (!m_bRunDone)
        OfferAlignment();
}

std::u16string CSampleDlg::CheckedProgram()
{
    std::u16string program = ResolveProgram(m_strEnfusePath, m_os);
    if (program.empty() || !m_os.FileOpensForReading(program)) {
        ShowMessageBox(Ui(), LoadModuleString(IDS_PROGRAM_NOT_FOUND), EMessageIcon::Warning);
        OnBrowse();
        return {};
    }
    return program;
}

void CSampleDlg::OnBnClickedOk()
{
    if (!UpdateData(true))
        return;
    std::u16string program = CheckedProgram();
    if (program.empty())
        return;
    if (m_bRunDone) {
        OnOK();
        return;
    }
    // The run starts the file just checked (a full path as typed stays as it is); the field
    // keeps its text, which the closing OK reads back.
    m_strEnfusePath = std::move(program);
    OfferAlignment(); // the path may have been typed since the last look
    if (FusesEachBracket() ? AcceptBrackets()
                           : AcceptSizes(SizeLines(0, m_pSelection->size())) && AcceptOutputFile())
        OnOK();
}

// enfuse refuses photos of different sizes (a portrait frame among landscape ones, a resized copy).
std::vector<std::u16string> CSampleDlg::SizeLines(size_t nFirst, size_t nCount) const
{
    const std::vector<std::u16string>& selection = *m_pSelection;
    const auto first = selection.begin() + static_cast<std::ptrdiff_t>(nFirst);
    const std::vector<std::u16string> photos(first, first + static_cast<std::ptrdiff_t>(nCount));
    std::vector<SPhotoSize> sizes;
    if (m_captureData.size() == selection.size()) { // read once, when the command opened the dialog
        std::vector<std::optional<metadata::SImageSize>> known;
        for (size_t i = nFirst; i < nFirst + nCount; ++i)
            known.push_back(m_captureData[i].size);
        sizes = DifferingSizes(known);
    } else {
        sizes = DifferingSizes(photos, m_os);
    }
    const std::u16string_view seps = m_os.PathSeparators();
    std::vector<std::u16string> lines;
    for (const SPhotoSize& photo : sizes) {
        std::u16string line(platform::FileNameOf(photos[photo.index], seps));
        line.append(u": ").append(platform::DecimalText(photo.size.width));
        line.append(u" \u00d7 ").append(platform::DecimalText(photo.size.height));
        lines.push_back(std::move(line));
    }
    return lines;
}

bool CSampleDlg::AcceptSizes(const std::vector<std::u16string>& lines)
{
    if (lines.empty())
        return true;
    ShowMessageBox(Ui(), FormatModuleList(IDS_PHOTOS_SIZES_DIFFER, lines), EMessageIcon::Warning);
    return false;
}

void CSampleDlg::RefuseOutputFile(unsigned nIdText)
{
    if (nIdText != 0)
        ShowMessageBox(Ui(), LoadModuleString(nIdText), EMessageIcon::Warning);
    FocusField(IDC_OUTPUT_FILE);
}

// The run would destroy a selected photo, fail for want of a folder, or replace a file the user
// did not agree to lose.
bool CSampleDlg::AcceptOutputFile()
{
    bool bExists = false;
    if (const unsigned nRefusal = OutputRefusal(m_strOutputFile, bExists)) {
        RefuseOutputFile(nRefusal);
        return false;
    }
    if (bExists && !AskYesNo(Ui(), FormatModuleString(IDS_OUTPUT_EXISTS, m_strOutputFile))) {
        RefuseOutputFile(0);
        return false;
    }
    return true;
}

unsigned CSampleDlg::OutputRefusal(const std::u16string& output, bool& bExists) const
{
    for (const std::u16string& input : *m_pSelection) {
        if (m_os.IsSameFile(output, input))
            return IDS_OUTPUT_IS_INPUT;
    }
    std::u16string strFull;
    platform::SFileInfo info;
    bExists = m_os.GetFileInfo(output, info);
    if (!m_os.FullPath(output, strFull) || (bExists && info.bFolder) || !FolderExists(strFull))
        return IDS_OUTPUT_FOLDER_MISSING;
    return 0;
}

bool CSampleDlg::FolderExists(const std::u16string& strFull) const
{
    std::u16string_view folder;
    if (!platform::ParentFolderOf(strFull, m_os.PathSeparators(), folder))
        return false;
    platform::SFileInfo info;
    return m_os.GetFileInfo(std::u16string(folder), info) && info.bFolder;
}

bool CSampleDlg::PrepareToolPaths()
{
    auto pPaths = std::make_unique<CToolPaths>(m_os);
    std::u16string strFailed;
    if (!pPaths->Prepare(*m_pSelection, m_strOutputFile, strFailed)) {
        ShowMessageBox(Ui(), FormatModuleString(IDS_PATH_NOT_FOR_TOOL, strFailed), EMessageIcon::Warning);
        return false;
    }
    m_pToolPaths = std::move(pPaths);
    return true;
}

void CSampleDlg::OnOK()
{
    if (m_bRunDone) {
        CDialog::OnOK();
        return;
    }
    if (!PrepareToolPaths())
        return; // still Editing
    EnterRunningLayout();
    RunAndShowOutput();
    m_pToolPaths.reset(); // the links, copies, aligned images and a leftover output go
    m_bRunDone = true;
}

void CSampleDlg::EnterRunningLayout()
{
    m_editOutput.ShowWindow(true);
    m_progress.ShowWindow(true);
    if (CWnd* pCancel = GetDlgItem(IDC_CANCEL))
        pCancel->MoveWindow(kCollapsed, true); // stays enabled: Escape still ends the dialog
    for (int nId : kInputControls) {
        if (CWnd* pControl = GetDlgItem(nId)) {
            pControl->EnableWindow(false);
            pControl->MoveWindow(kCollapsed, true);
        }
    }
}

void CSampleDlg::RunAndShowOutput()
{
    SetRunning(true);
    m_pTaskbar = Ui().ShowTaskbarProgress(GetWindowId());
    CProgressDisplay progress(m_progress, m_pTaskbar.get());
    CPaneObserver pane(
        m_editOutput, Ui(), [this] { return PollStopRequest(); }, ProgressSwitchedOff() ? nullptr : &progress);
    pane.ClearPane();
    progress.Begin();
    const SBracketJob job{m_strEnfusePath, m_nJpegQuality, *m_pSelection,
                          m_bAlignOffered && m_bAlignImages ? m_strAlignProgram : std::u16string(),
                          FusionModeOf(m_nFusionMode)};
    if (FusesEachBracket()) {
        progress.End(RunBrackets(job, pane));
    } else {
        m_outcome = CBracketRun(m_os, pane).Run(job, *m_pToolPaths);
        if (m_outcome == ERunOutcome::Fused)
            m_written.push_back(m_strOutputFile);
        progress.End(ProgressEndState(m_outcome));
    }
    PollStopRequest(); // what was typed during the run goes unread: Finished waits for a new key
    SetRunning(false);
}
} // namespace lvp
