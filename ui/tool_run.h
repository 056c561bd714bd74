// The run shown live in the output pane: the pane's side of the run (its text, the wait cursor,
// the stop key and the question), over the run that fusion/bracket_run.h decides.
#pragma once
#include "fusion/bracket_run.h"
#include "platform/os.h"
#include "ui/framework/edit.h"
#include "ui/framework/wait_cursor.h"
#include "ui/progress_display.h"

#include <functional>
#include <optional>
#include <string>

namespace lvp {
class CUiBackend;

// What the run needs besides the pane: the OS, the window system for the wait cursor and the
// question, the output file the program must produce, and the user's stop request, asked between
// reads; it keeps the windows painted and discards other input. The rest as SBracketCommands.
struct SToolRun {
    const platform::COs& os;
    CUiBackend& ui;
    std::u16string strOutputFile;
    std::function<bool()> stopRequested;
    CToolPaths* pPaths = nullptr;
    const SAlignRun* pAlign = nullptr; // none: the fusion alone
    std::u16string strFirstPhoto{};
};

// The pane as the run's observer: each text at the pane's end, painted at once; the progress on
// the display, when there is one.
class CPaneObserver final : public CRunObserver {
public:
    // pProgress: not owned; null shows no progress.
    CPaneObserver(CEdit& editOutput, CUiBackend& ui, std::function<bool()> stopRequested,
                  CProgressDisplay* pProgress = nullptr)
        : m_editOutput(editOutput), m_ui(ui), m_stopRequested(std::move(stopRequested)),
          m_pProgress(pProgress)
    {
    }
    // Empties the pane, which then takes as much text as memory allows.
    void ClearPane();
    void AddText(std::u16string_view text) override;
    bool AskYesNo(std::u16string_view question, bool bYesDefault) override;
    // Asked between reads: also when the display's clock moves on.
    bool StopRequested() override;
    void ShowBusy(bool bBusy) override;
    void ReportProgress(const SRunProgress& progress) override;

private:
    CEdit& m_editOutput;
    CUiBackend& m_ui;
    std::function<bool()> m_stopRequested;
    CProgressDisplay* m_pProgress;
    std::optional<CWaitCursor> m_waitCursor; // while a program step runs
};

// Clears the pane and runs command as CBracketRun::Run does, its output in the pane.
ERunOutcome RunAndShowOutput(CEdit& editOutput, const platform::SCommandLine& command, const SToolRun& run);
} // namespace lvp
