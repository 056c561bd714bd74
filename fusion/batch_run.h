// CBatchRun: the fused brackets of a selection, several side by side where the machine allows,
// each through a CBracketRun, all polled in turn from the caller's thread; each bracket's block
// (its line, the programs' output, its notes) is shown whole and in bracket order; the batch
// ends with a summary and message 109.
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

struct SBatchOptions {
    // How many brackets run at once; 0: as the machine allows (BracketsAtOnce over the
    // processors, the free memory and the photos' sizes).
    unsigned nAtOnce = 0;
};

struct SBatchResult {
    std::vector<std::u16string> written; // the fused brackets' outputs, in bracket order
    bool bStopped = false;               // the user stopped the batch
    unsigned nAtOnce = 1;                // the brackets allowed to run at once
};

class CBatchRun {
public:
    CBatchRun(const platform::COs& os, CRunObserver& observer, SBatchOptions options = {})
        : m_os(os), m_observer(observer), m_options(options)
    {
    }

    // Names each bracket of one photo first, then runs the fused ones (IsBatchFused, with an
    // output) in order, up to nAtOnce at a time, each block begun by the line "bracket n of N:
    // first ... last -> output" (file names only). A block is shown as it comes while the blocks
    // before it are complete, else held back until they are. A failed alignment is not asked
    // about: that bracket is not fused. A bracket that fails leaves its note and the others run;
    // a stop (asked before a bracket starts and between the polls of the running programs)
    // stops every running bracket and starts none after them. Then one line says how many of
    // the fused brackets were fused and names the failed ones, then those stopped or never
    // started, and message 109 closes the text. Progress counts the steps of all brackets, is
    // Done once at the end and never goes back.
    SBatchResult Run(const SBatchJob& batch);

private:
    unsigned AtOnce(const SBatchJob& batch, const std::vector<SBracket>& fused) const;

    const platform::COs& m_os;
    CRunObserver& m_observer;
    SBatchOptions m_options;
};
} // namespace lvp
