// CBatchObserver: what the brackets of a batch tell, as one run for the dialog's observer: each
// bracket's text in its block, the blocks in bracket order, one wait cursor, one progress.
#pragma once
#include "fusion/bracket_run.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace lvp {
// Every bracket has the same number of steps; only the batch's own end is Done.
class CBatchObserver {
public:
    // weights: each bracket's share of the whole (its photo count).
    CBatchObserver(CRunObserver& observer, unsigned nBracketSteps, std::vector<size_t> weights);

    CRunObserver& Outer() { return m_observer; }
    // Text of bracket n: passed on at once while the brackets before it are complete, else held
    // back until they are.
    void AddText(size_t n, std::u16string_view text);
    // The wait cursor is shown while any bracket's program runs.
    void ShowBusy(bool bBusy);
    // Bracket n's progress as part of the whole: its steps beside those of the others, its
    // fraction by its weight; the whole never goes back. What the first running bracket is doing
    // is what the whole is doing.
    void ReportProgress(size_t n, const SRunProgress& progress);
    // Bracket n has ended: its steps are behind and its block is complete (the held blocks after
    // it follow).
    void EndBracket(size_t n);
    void EndBatch();

private:
    CRunObserver& m_observer;
    const unsigned m_nBracketSteps, m_nSteps;
    size_t m_nShown = 0;                // the bracket whose block is being shown
    std::vector<std::u16string> m_held; // the text of each bracket after it
    std::vector<bool> m_ended;
    std::vector<unsigned> m_steps;    // each bracket's step, as it last reported it
    std::vector<double> m_parts;      // and its fraction
    std::vector<SRunProgress> m_last; // and all it said (phase Done before it began)
    std::vector<size_t> m_weights;
    size_t m_nWeight = 0;
    unsigned m_nBusy = 0;
    unsigned m_nStep = 0;
    double m_fraction = 0.0;
};

// What one bracket's run tells, for the batch.
class CBracketObserver final : public CRunObserver {
public:
    CBracketObserver(CBatchObserver& batch, size_t n) : m_batch(batch), m_n(n) {}
    void AddText(std::u16string_view text) override { m_batch.AddText(m_n, text); }
    bool AskYesNo(std::u16string_view question, bool bYesDefault) override
    {
        return m_batch.Outer().AskYesNo(question, bYesDefault);
    }
    bool StopRequested() override { return m_batch.Outer().StopRequested(); }
    void ShowBusy(bool bBusy) override { m_batch.ShowBusy(bBusy); }
    void ReportProgress(const SRunProgress& progress) override { m_batch.ReportProgress(m_n, progress); }

private:
    CBatchObserver& m_batch;
    const size_t m_n;
};
} // namespace lvp
