// The blocks of a batch's brackets in order, the wait cursor counted, the progress summed.
#include "fusion/batch_observer.h"

#include <algorithm>

namespace lvp {
CBatchObserver::CBatchObserver(CRunObserver& observer, unsigned nBracketSteps, std::vector<size_t> weights)
    : m_observer(observer), m_nBracketSteps(nBracketSteps),
      m_nSteps(static_cast<unsigned>(nBracketSteps * weights.size())), m_held(weights.size()),
      m_ended(weights.size()), m_steps(weights.size()), m_parts(weights.size()),
      m_last(weights.size(), SRunProgress{ERunPhase::Done, 0, 0, 0.0}), m_weights(std::move(weights))
{
    for (const size_t nWeight : m_weights)
        m_nWeight += nWeight;
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
    m_last[n] = progress;
    unsigned nStep = 0;
    double done = 0.0;
    for (size_t i = 0; i < m_steps.size(); ++i) {
        nStep += m_ended[i] ? m_nBracketSteps : m_steps[i];
        done += m_parts[i] * static_cast<double>(m_weights[i]); // a failed bracket stays where it was
    }
    m_nStep = std::max(m_nStep, nStep);
    if (m_nWeight > 0)
        m_fraction = std::min(1.0, std::max(m_fraction, done / static_cast<double>(m_nWeight)));
    if (progress.phase == ERunPhase::Done)
        return;
    size_t nShown = n;
    for (size_t i = 0; i < m_last.size(); ++i) {
        if (!m_ended[i] && m_last[i].phase != ERunPhase::Done) {
            nShown = i;
            break;
        }
    }
    const SRunProgress& shown = m_last[nShown];
    m_observer.ReportProgress({shown.phase, m_nStep, m_nSteps, m_fraction, shown.detail,
                               static_cast<unsigned>(nShown + 1), static_cast<unsigned>(m_last.size())});
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
    m_observer.ReportProgress({ERunPhase::Done,
                               m_nStep,
                               m_nSteps,
                               m_fraction,
                               {EProgressStage::Done},
                               static_cast<unsigned>(m_last.size()),
                               static_cast<unsigned>(m_last.size())});
}
} // namespace lvp
