// CSampleDlg: the fusion dialog, whose fields turn into the live output pane of the run.
#pragma once
#include "fusion/bracket_grouping.h"
#include "fusion/tool_paths.h"
#include "platform/os.h"
#include "ui/color_edit.h"
#include "ui/framework/combo_box.h"
#include "ui/framework/dialog.h"
#include "ui/framework/gdi.h"
#include "ui/framework/progress_ctrl.h"
#include "ui/tool_run.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace lvp {
class CSampleDlg : public CDialog {
public:
    // pSelection: the paths of the command's selected files in the host's order, read by the
    // checks on OK and the run. Nothing owned.
    CSampleDlg(const platform::COs& os, CUiBackend& ui, const std::vector<std::u16string>* pSelection,
               CWnd* pParent);

    // The program field; from OK until the run has ended, the file it names (ResolveProgram).
    std::u16string m_strEnfusePath;
    std::u16string m_strOutputFile;
    std::uint32_t m_nJpegQuality = 95;
    const std::vector<std::u16string>* m_pSelection;
    CFont m_fontOutput;
    CColorEdit m_editOutput;
    CProgressCtrl m_progress; // shown from the start of the run
    bool m_bRunDone = false;
    // Whether the user wants the series aligned first (the command sets it from its setting); it
    // is exchanged with check box 1015 while the box is offered.
    bool m_bAlignImages = false;
    // The box is offered (enabled): the alignment program was found for the program path last
    // looked at. The command stores m_bAlignImages only then.
    bool m_bAlignOffered = false;
    std::u16string m_strAlignProgram; // where it was found; empty when it was not
    // The selection's brackets (GroupBrackets), set by the command; or, where it gives the
    // photos' capture data, grouped by the dialog for the kind of series chosen.
    std::vector<SBracket> m_brackets;
    std::vector<metadata::SCaptureData> m_captureData;
    // Whether each bracket is fused into its own image (the command sets it from its setting);
    // exchanged with check box 1019 while the box is offered.
    bool m_bFuseEachBracket = true;
    // The box is offered (enabled): the selection holds two or more brackets that can be fused.
    // The command stores m_bFuseEachBracket only then.
    bool m_bFuseEachOffered = false;
    // What the series is: the index of the chosen item of list 1017, an EFusionMode (the command
    // sets it from its setting and stores it after OK).
    int m_nFusionMode = 0;
    CComboBox m_listMode;
    // The run's outcome, once m_bRunDone is set, and the outputs it wrote, in bracket order.
    ERunOutcome m_outcome = ERunOutcome::Failed;
    std::vector<std::u16string> m_written;

    void OnBrowse();
    void OnBnClickedOk();
    // The taskbar button shows the run's progress until the dialog has ended, by any way out.
    std::intptr_t DoModal() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    bool OnInitDialog() override;
    void OnOK() override;

private:
    // The file that the program field names (ResolveProgram) when it opens; else empty, with
    // the user told and offered the file dialog.
    std::u16string CheckedProgram();
    // The lines "name: width × height" of the nCount photos of the selection from nFirst whose
    // sizes differ (DifferingSizes); empty when the sizes that can be read agree. The sizes come
    // from m_captureData where the command gave it, else from the photos' heads.
    std::vector<std::u16string> SizeLines(size_t nFirst, size_t nCount) const;
    // False, with the user told (the lines named), when there are lines.
    bool AcceptSizes(const std::vector<std::u16string>& lines);
    // Checks the output file before the run; false (with the user told, the field in focus)
    // when the run must not start.
    bool AcceptOutputFile();
    void RefuseOutputFile(unsigned nIdText);
    bool FolderExists(const std::u16string& strFull) const;
    // Why output cannot be written (text 112 or 114), or 0; bExists: a file is there.
    unsigned OutputRefusal(const std::u16string& output, bool& bExists) const;

    // The dialog's side of a selection of several brackets (ui/sample_dlg_batch.cpp).
    bool FusesEachBracket() const { return m_bFuseEachOffered && m_bFuseEachBracket; }
    // Groups the selection for the kind of series in list 1017 (where the capture data is
    // given) and offers box 1019, with the count of brackets, where two can be fused; else it is
    // unchecked and disabled. The field's proposal follows, unless the user edited it.
    void OfferFuseEach();
    // The box was toggled: the field's proposal follows it, unless the user edited the field.
    void OnFuseEachClicked();
    // ProposeOutputName of the first fused bracket (bEach) or of the whole selection.
    std::u16string ProposedOutput(bool bEach) const;
    // Each bracket's output (BatchOutputNames of the field).
    std::vector<std::u16string> BracketOutputs() const;
    // The checks on OK over every bracket: sizes alike within each, every output writable, and
    // one question over those that exist.
    bool AcceptBrackets();
    // The batch's outcome in m_outcome, and how its display ends: an error when a bracket that was
    // to be fused was not, a stop when the user stopped.
    EProgressState RunBrackets(const SBracketJob& job, CRunObserver& pane);
    // Makes the forms of the paths the program can open; false (the user told) when a path has none.
    bool PrepareToolPaths();
    // Looks for the alignment program beside m_strEnfusePath, then on PATH: found, the box is
    // enabled and shows m_bAlignImages; not found, it is unchecked and disabled.
    void OfferAlignment();
    // The pane in the place of the input controls, which are disabled and collapsed.
    void EnterRunningLayout();
    // The run of the confirmed values in the pane.
    void RunAndShowOutput();

    const platform::COs& m_os;
    std::u16string m_strFuseEachText;             // box 1019's text without the count
    std::unique_ptr<CToolPaths> m_pToolPaths;     // from OK until the run has ended
    std::unique_ptr<CTaskbarProgress> m_pTaskbar; // from the run until the dialog ends
};
} // namespace lvp
