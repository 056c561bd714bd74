// CProgressDisplay: the run's progress on the dialog's bar, in the bar's status text (which the
// terminal shows) and on the host's taskbar button.
#pragma once
#include "fusion/bracket_run.h"
#include "ui/framework/progress_ctrl.h"

#include <functional>
#include <string>

namespace lvp {
class CProgressDisplay {
public:
    // Seconds on a clock that never goes back.
    using Clock = std::function<double()>;
    static double SteadySeconds();

    // bar: the dialog's bar; pTaskbar: the host's button, or null. Neither owned.
    CProgressDisplay(CProgressCtrl& bar, CTaskbarProgress* pTaskbar, Clock clock = &SteadySeconds);

    // The run begins: the bar at 0 in the normal state, the clock from 0:00.
    void Begin();
    // Moves the bar (and the button) only when the position changes by a step of the bar, and
    // the text only when the stage changes.
    void Report(const SRunProgress& progress);
    // The time since Begin, when its second has changed; called as often as the run polls.
    void Tick();
    // The run has ended: Normal leaves the bar where the last report put it; Error and Paused
    // (a stop) show as the bar's state and, in the text, as "Fehler" or "Abgebrochen".
    void End(EProgressState state);

    // "<stage or end>  m:ss", as the bar's text holds it.
    const std::u16string& StatusText() const { return m_strShown; }

private:
    void ShowStatus(bool bForce);

    CProgressCtrl& m_bar;
    CTaskbarProgress* m_pTaskbar;
    Clock m_clock;
    double m_start = 0;
    int m_nPos = 0;
    long long m_nSecond = -1; // the second the text shows
    std::u16string m_strStage;
    std::u16string m_strShown;
};

// The end state of a run's display: Normal for a run that fused, Paused for one stopped, Error
// for one that failed.
EProgressState ProgressEndState(ERunOutcome outcome);
} // namespace lvp
