// CSampleDlg's side of a selection of several brackets: box 1019, the proposal that follows it,
// the checks over every bracket's output, and the batch's run.
#include "fusion/batch_names.h"
#include "fusion/batch_run.h"
#include "fusion/fusion_mode.h"
#include "fusion/fusion_paths.h"
#include "platform/utf.h"
#include "resources/ids.h"
#include "resources/strings.h"
#include "ui/framework/message_box.h"
#include "ui/sample_dlg.h"

#include <algorithm>
#include <cstdint>

namespace lvp {
void CSampleDlg::OfferFuseEach()
{
    CWnd* pBox = GetDlgItem(IDC_FUSE_EACH);
    CWnd* pField = GetDlgItem(IDC_OUTPUT_FILE);
    if (!pBox || !pField)
        return;
    const std::u16string before = ProposedOutput(FusesEachBracket());
    if (m_bFuseEachOffered)
        m_bFuseEachBracket = IsDlgButtonChecked(IDC_FUSE_EACH);
    if (!m_captureData.empty())
        m_brackets = GroupBrackets(m_captureData, FusionModeOf(m_listMode.GetCurSel()));
    const size_t nBrackets = FusibleCount(m_brackets);
    m_bFuseEachOffered = nBrackets >= 2;
    CheckDlgButton(IDC_FUSE_EACH, FusesEachBracket());
    pBox->SetText(m_bFuseEachOffered
                      ? FormatModuleStrings(
                            IDS_BATCH_BRACKET_COUNT,
                            {m_strFuseEachText, platform::DecimalText(static_cast<std::int64_t>(nBrackets))})
                      : m_strFuseEachText);
    pBox->EnableWindow(m_bFuseEachOffered);
    // The command proposes the whole selection's name; with the box checked, the first bracket's.
    if (pField->GetText() == before)
        pField->SetText(ProposedOutput(FusesEachBracket()));
}

void CSampleDlg::OnFuseEachClicked()
{
    if (!m_bFuseEachOffered || m_bRunDone)
        return;
    m_bFuseEachBracket = IsDlgButtonChecked(IDC_FUSE_EACH);
    CWnd* pField = GetDlgItem(IDC_OUTPUT_FILE);
    if (pField && pField->GetText() == ProposedOutput(!m_bFuseEachBracket))
        pField->SetText(ProposedOutput(m_bFuseEachBracket));
}

std::u16string CSampleDlg::ProposedOutput(bool bEach) const
{
    const std::vector<std::u16string>& photos = *m_pSelection;
    if (photos.empty())
        return {};
    size_t nFirst = 0, nLast = photos.size() - 1;
    for (const SBracket& bracket : m_brackets) {
        if (bEach && IsBatchFused(bracket, photos.size())) {
            nFirst = bracket.nFirst;
            nLast = bracket.nFirst + bracket.nCount - 1;
            break;
        }
    }
    return ProposeOutputName(photos[nFirst], photos[nLast], m_os.PathSeparators());
}

std::vector<std::u16string> CSampleDlg::BracketOutputs() const
{
    return BatchOutputNames(*m_pSelection, m_brackets, m_strOutputFile, m_os.PathSeparators());
}

bool CSampleDlg::AcceptBrackets()
{
    const std::vector<std::u16string>& photos = *m_pSelection;
    std::vector<std::u16string> sizeLines;
    for (const SBracket& bracket : m_brackets) {
        if (!IsBatchFused(bracket, photos.size()))
            continue;
        const std::vector<std::u16string> lines = SizeLines(bracket.nFirst, bracket.nCount);
        sizeLines.insert(sizeLines.end(), lines.begin(), lines.end());
    }
    if (!AcceptSizes(sizeLines))
        return false;
    std::vector<std::u16string> existing;
    for (const std::u16string& output : BracketOutputs()) {
        bool bExists = false;
        if (output.empty())
            continue;
        if (const unsigned nRefusal = OutputRefusal(output, bExists)) {
            RefuseOutputFile(nRefusal);
            return false;
        }
        if (bExists)
            existing.push_back(output);
    }
    if (!existing.empty() && !AskYesNo(Ui(), FormatModuleList(IDS_BATCH_OUTPUTS_EXIST, existing))) {
        RefuseOutputFile(0);
        return false;
    }
    return true;
}

EProgressState CSampleDlg::RunBrackets(const SBracketJob& job, CRunObserver& pane)
{
    m_pToolPaths.reset(); // each bracket makes the forms of its own paths
    const std::vector<std::u16string> outputs = BracketOutputs();
    const SBatchResult result = CBatchRun(m_os, pane).Run({job, m_brackets, outputs});
    m_written = result.written;
    if (!m_written.empty())
        m_outcome = ERunOutcome::Fused;
    else
        m_outcome = result.bStopped ? ERunOutcome::Stopped : ERunOutcome::Failed;
    if (result.bStopped)
        return EProgressState::Paused;
    const auto nWanted =
        std::count_if(outputs.begin(), outputs.end(), [](const auto& o) { return !o.empty(); });
    return m_written.size() < static_cast<size_t>(nWanted) ? EProgressState::Error : EProgressState::Normal;
}
} // namespace lvp
