// The blocks of a batch's brackets in order, the wait cursor counted, the progress summed.
#include "fusion/batch_observer.h"

#include <algorithm>

namespace lvp {
CBatchObserver::CBatchObserver(CRunObserver& observer, unsigned nBracketSteps, size_t nBrackets)
    : m_observer(observer), m_nBracketSteps(nBracketSteps),
      m_nSteps(static_cast<unsigned>(nBracketSteps * nBrackets)), m_held(nBrackets), m_ended(nBrackets),
      m_steps(nBrackets), m_parts(nBrackets)
{
}

void CBatchObserver::AddText(size_t n, std::u16string_view text)
{
    if (n == m_nShown)
        m_observer.AddText(text);
    else if (n < m_held.size())
        m_held[n] += text;
}

void CBatchObserver::ShowBusy(bool bBusy)
{
    if (bBusy ? m_nBusy++ == 0 : m_nBusy > 0 && --m_nBusy == 0)
        m_observer.ShowBusy(bBusy);
}

void CBatchObserver::ReportProgress(size_t n, const SRunProgress& progress)
{
    if (n >= m_steps.size())
        return;
    m_steps[n] = progress.nStep;
    m_parts[n] = progress.fraction;
    unsigned nStep = 0;
    double done = 0.0;
    for (size_t i = 0; i < m_steps.size(); ++i) {
        nStep += m_ended[i] ? m_nBracketSteps : m_steps[i];
        done += m_ended[i] ? m_nBracketSteps : m_parts[i] * m_nBracketSteps;
    }
    m_nStep = std::max(m_nStep, nStep);
    m_fraction = std::min(1.0, std::max(m_fraction, done / m_nSteps));
    if (progress.phase != ERunPhase::Done)
        m_observer.ReportProgress({progress.phase, m_nStep, m_nSteps, m_fraction});
}

void CBatchObserver::EndBracket(size_t n)
{
    if (n >= m_ended.size())
        return;
    m_ended[n] = true;
    while (m_nShown < m_ended.size() && m_ended[m_nShown]) {
        if (++m_nShown < m_held.size() && !m_held[m_nShown].empty()) {
            m_observer.AddText(m_held[m_nShown]);
            std::u16string().swap(m_held[m_nShown]);
        }
    }
}

void CBatchObserver::EndBatch()
{
    m_observer.ReportProgress({ERunPhase::Done, m_nStep, m_nSteps, m_fraction});
}
} // namespace lvp
