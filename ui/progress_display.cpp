// The progress display: positions in steps of the bar, the status text, the end states.
#include "ui/progress_display.h"

#include "fusion/progress_text.h"
#include "resources/ids.h"
#include "resources/strings.h"

#include <chrono>
#include <cmath>

namespace lvp {
double CProgressDisplay::SteadySeconds()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

CProgressDisplay::CProgressDisplay(CProgressCtrl& bar, CTaskbarProgress* pTaskbar, Clock clock)
    : m_bar(bar), m_pTaskbar(pTaskbar), m_clock(std::move(clock))
{
}

void CProgressDisplay::Begin()
{
    m_start = m_clock();
    m_nPos = 0;
    m_strStage.clear();
    m_bar.SetState(EProgressState::Normal);
    m_bar.SetPos(0);
    if (m_pTaskbar) {
        m_pTaskbar->SetState(EProgressState::Normal);
        m_pTaskbar->SetPos(0);
    }
    ShowStatus(true);
}

void CProgressDisplay::Report(const SRunProgress& progress)
{
    // Whole steps only, so that the last one is reached by a run that has ended well alone.
    const double f = std::isfinite(progress.fraction) ? progress.fraction : 0.0;
    const int nPos = f >= 1.0  ? kProgressRange
                     : f > 0.0 ? static_cast<int>(std::floor(f * kProgressRange))
                               : 0;
    bool bChanged = false;
    if (nPos != m_nPos) {
        m_nPos = nPos;
        m_bar.SetPos(nPos);
        if (m_pTaskbar)
            m_pTaskbar->SetPos(nPos);
        bChanged = true;
    }
    std::u16string stage = StageText(progress);
    if (stage != m_strStage) {
        m_strStage = std::move(stage);
        ShowStatus(true);
    } else if (bChanged) {
        m_bar.UpdateWindow();
    }
}

void CProgressDisplay::Tick()
{
    ShowStatus(false);
}

void CProgressDisplay::End(EProgressState state)
{
    m_strStage.clear();
    if (state != EProgressState::Normal) {
        m_bar.SetState(state);
        if (m_pTaskbar)
            m_pTaskbar->SetState(state);
        m_strStage =
            LoadModuleString(state == EProgressState::Error ? IDS_PROGRESS_FAILED : IDS_PROGRESS_STOPPED);
    }
    ShowStatus(true);
}

void CProgressDisplay::ShowStatus(bool bForce)
{
    const double seconds = m_clock() - m_start;
    const long long nSecond = seconds > 0 ? static_cast<long long>(seconds) : 0;
    if (!bForce && nSecond == m_nSecond)
        return;
    m_nSecond = nSecond;
    m_strShown = m_strStage;
    if (!m_strShown.empty())
        m_strShown.append(u"  ");
    m_strShown.append(ElapsedText(seconds));
    m_bar.SetText(m_strShown);
    m_bar.UpdateWindow(); // the run blocks the thread: painted now or not until it ends
}

EProgressState ProgressEndState(ERunOutcome outcome)
{
    switch (outcome) {
    case ERunOutcome::Fused:
        return EProgressState::Normal;
    case ERunOutcome::Stopped:
        return EProgressState::Paused;
    case ERunOutcome::Failed:
        break;
    }
    return EProgressState::Error;
}
} // namespace lvp
