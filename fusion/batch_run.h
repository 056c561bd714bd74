// CBatchRun: the fused brackets of a selection, one CBracketRun after the other, each begun by its
// line in the pane; the batch ends with a summary and message 109.
#pragma once
#include "fusion/bracket_grouping.h"
#include "fusion/bracket_run.h"
#include "platform/os.h"

#include <string>
#include <vector>

namespace lvp {
// A selection split into brackets: the programs and quality of every bracket's run (job.photos:
// the whole selection), and each bracket's output (BatchOutputNames; empty: not fused).
struct SBatchJob {
    SBracketJob job;
    std::vector<SBracket> brackets;
    std::vector<std::u16string> outputs;
};

struct SBatchResult {
    std::vector<std::u16string> written; // the fused brackets' outputs, in bracket order
    bool bStopped = false;               // the user stopped the batch
};

class CBatchRun {
public:
    CBatchRun(const platform::COs& os, CRunObserver& observer) : m_os(os), m_observer(observer) {}

    // Names each bracket of one photo first, then runs the fused ones (IsBatchFused, with an
    // output) in order, each after the line "bracket n of N: first ... last -> output" (file
    // names only). A failed alignment is not asked about: that bracket is not fused. A bracket
    // that fails leaves its note and the next one runs; a stop (asked before each bracket, or
    // the outcome of one) starts none after it. Then one line says how many of the fused
    // brackets were fused and names the others with why, and message 109 closes the text.
    // Progress counts the steps of all brackets, is Done once at the end and never goes back.
    SBatchResult Run(const SBatchJob& batch);

private:
    ERunOutcome RunBracket(const SBracketJob& job, const std::u16string& output, CRunObserver& observer);

    const platform::COs& m_os;
    CRunObserver& m_observer;
};
} // namespace lvp
