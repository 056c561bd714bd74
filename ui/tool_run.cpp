// The output pane's side of the run: text at its end, the wait cursor, the question, the stop.
#include "ui/tool_run.h"

#include "ui/framework/message_box.h"

namespace lvp {
void CPaneObserver::ClearPane()
{
    m_editOutput.SetLimitText(0); // as much as memory allows, not the default 30 000 characters
    m_editOutput.SetText(u"");
}

void CPaneObserver::AddText(std::u16string_view text)
{
    int nLength = m_editOutput.GetTextLength();
    m_editOutput.SetSel(nLength, nLength);
    m_editOutput.ScrollCaret();
    m_editOutput.ReplaceSel(text, false);
    // The run blocks the thread, so the pane is painted here or not at all until it ends.
    m_editOutput.UpdateWindow();
}

bool CPaneObserver::AskYesNo(std::u16string_view question, bool bYesDefault)
{
    return lvp::AskYesNo(m_ui, question, bYesDefault);
}

bool CPaneObserver::StopRequested()
{
    if (m_pProgress)
        m_pProgress->Tick();
    return m_stopRequested && m_stopRequested();
}

void CPaneObserver::ReportProgress(const SRunProgress& progress)
{
    if (m_pProgress)
        m_pProgress->Report(progress);
}

void CPaneObserver::ShowBusy(bool bBusy)
{
    m_waitCursor.reset();
    if (bBusy)
        m_waitCursor.emplace(m_ui);
}

ERunOutcome RunAndShowOutput(CEdit& editOutput, const platform::SCommandLine& command, const SToolRun& run)
{
    CPaneObserver pane(editOutput, run.ui, run.stopRequested);
    pane.ClearPane();
    return CBracketRun(run.os, pane)
        .Run({command, run.strOutputFile, run.pPaths, run.pAlign, run.strFirstPhoto});
}
} // namespace lvp
