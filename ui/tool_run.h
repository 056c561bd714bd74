// The run of the fusion program with its output shown live in the output pane, and the stop.
#pragma once
#include "fusion/run_steps.h"
#include "platform/os.h"
#include "ui/framework/edit.h"

#include <functional>
#include <string>

namespace lvp {
class CUiBackend;
class CToolPaths;
class CAlignStep;

// The alignment before the fusion: its step, and the fusion's command over the aligned images.
struct SAlignRun {
    const CAlignStep& step;
    platform::SCommandLine fuseAligned;
};

// What the run needs besides the pane: the OS, the window system for the wait cursor, the
// output file the program must produce, and the user's stop request, asked between reads; it
// keeps the windows painted and discards other input. pPaths, when the program's paths were
// made for it: a fused output is committed to its real name before the run counts as fused.
struct SToolRun {
    const platform::COs& os;
    CUiBackend& ui;
    std::u16string strOutputFile;
    std::function<bool()> stopRequested;
    CToolPaths* pPaths = nullptr;
    const SAlignRun* pAlign = nullptr; // none: the fusion alone
    // The original first selected photo (never an aligned image), whose metadata a fused output
    // receives; empty: none is carried.
    std::u16string strFirstPhoto{};
};

// Clears the pane, starts the program and adds each line of its output at the end of the pane
// as soon as the line is complete; waits for the program and reads its exit code. A failure
// adds its reason (exit code, no output file, could not start), a stop adds "stopped"; then a
// line break and message 109. A command line that is too long shows message 110 alone. An
// output file that did not exist before a run that did not succeed is removed. A fused output
// receives the metadata of run.strFirstPhoto; where that fails, one line before message 109 says
// why (the run still counts as fused).
// With run.pAlign the alignment program runs first, its output in the pane, and the fusion then
// runs over the aligned images. An alignment that fails adds its note to the pane and asks
// whether to fuse unaligned (Yes the default): Yes runs command, No ends the run as failed.
ERunOutcome RunAndShowOutput(CEdit& editOutput, const platform::SCommandLine& command, const SToolRun& run);
} // namespace lvp
