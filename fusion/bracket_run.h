// CBracketRun: one bracket's whole run (align when asked, the question when that fails, fuse,
// carry the metadata, commit the output, remove the temporaries), told to the user through the
// small interface CRunObserver that the dialog implements.
#pragma once
#include "fusion/alignment.h"
#include "fusion/fusion_mode.h"
#include "fusion/program_run.h"
#include "fusion/run_steps.h"
#include "fusion/tool_progress.h"
#include "platform/os.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lvp {
enum class ERunPhase {
    Align, // the alignment program runs
    Fuse,  // the fusion program runs
    Done,  // the run has ended (fraction 1 only when it fused)
};

// How far the run has come: the phase, the step of the run it is (1-based, of nSteps) and the
// fraction of the whole run done, reported as each step begins and when the run ends: it never
// goes back, and is 1 only for a run that fused.
struct SRunProgress {
    ERunPhase phase;
    unsigned nStep;
    unsigned nSteps;
    double fraction;
    SStageDetail detail{};                // what the running tool is doing, from its output
    unsigned nBracket = 0, nBrackets = 0; // in a batch: the bracket shown (1-based) of how many
    bool operator==(const SRunProgress&) const = default;
};

// Whether the run follows the tools' output for its progress: always, except in the benchmarks'
// build with LVP_BENCH_NO_PROGRESS set, which measures what following it and the bar cost.
bool ProgressSwitchedOff();

// What the run tells the user and asks of them. Called on the thread that runs the bracket.
class CRunObserver {
public:
    // Text for the end of the output pane, as it comes (line breaks included).
    virtual void AddText(std::u16string_view text) = 0;
    virtual bool AskYesNo(std::u16string_view question, bool bYesDefault) = 0;
    // Whether the user has asked to stop; asked between reads of a program's output.
    virtual bool StopRequested() = 0;
    // A program step begins (true) or ends (false): the wait cursor.
    virtual void ShowBusy(bool bBusy) = 0;
    virtual void ReportProgress(const SRunProgress& progress) = 0;

protected:
    ~CRunObserver() = default;
};

// The alignment before the fusion: its step, and the fusion's command over the aligned images.
struct SAlignRun {
    const CAlignStep& step;
    platform::SCommandLine fuseAligned;
};

// One bracket with its commands made: the fusion's over the photos, the output the program must
// produce, and, when the program's paths were made for it (pPaths, not owned), the commit of a
// fused output to its real name. pAlign: the alignment that runs first, if any. strFirstPhoto:
// the original first photo (never an aligned image), whose metadata a fused output receives;
// empty: none is carried.
struct SBracketCommands {
    platform::SCommandLine fuse;
    std::u16string strOutputFile;
    CToolPaths* pPaths = nullptr;
    const SAlignRun* pAlign = nullptr;
    std::u16string strFirstPhoto{};
    // For the progress: how many photos, of how many megapixels each (0: unknown).
    size_t nPhotos = 0;
    double megapixels = 0;
};

// One bracket as the user confirmed it: the programs, the quality, the photos in order (the first
// gives the metadata) and the output; strAlignProgram empty: no alignment. mode: what the series
// is, which both programs' options follow.
struct SBracketJob {
    std::u16string strFusionProgram;
    std::uint32_t nQuality = 95;
    std::vector<std::u16string> photos;
    std::u16string strAlignProgram;
    EFusionMode mode = EFusionMode::Exposure;
};

// Where a run in a batch of brackets differs; the defaults are those of a single bracket's run.
struct SBracketRunOptions {
    // A failed alignment asks whether to fuse unaligned; false: nothing is asked, the answer is No.
    bool bAskUnaligned = true;
    // The run's text ends with a line break and message 109; false: with the line break alone.
    bool bClosingMessage = true;
};

// A run is either driven to its end at once (Run) or step by step from a loop that polls several
// runs in turn (Begin, then Step until it answers true, Stop to end it early); both make the same
// calls on the observer in the same order, except that only Run asks StopRequested. The commands
// (and the paths) must outlive the run.
class CBracketRun {
public:
    CBracketRun(const platform::COs& os, CRunObserver& observer, SBracketRunOptions options = {})
        : m_os(os), m_observer(observer), m_options(options), m_program(os, observer)
    {
    }
    CBracketRun(const CBracketRun&) = delete;
    CBracketRun& operator=(const CBracketRun&) = delete;
    ~CBracketRun();

    // Runs job over the forms of its paths that paths made (which keeps the aligned images and
    // removes them with the rest when it goes).
    ERunOutcome Run(const SBracketJob& job, CToolPaths& paths);
    // Runs the commands: the alignment first when there is one, its output shown; an alignment
    // that fails adds its note and asks whether to fuse unaligned (Yes the default): Yes runs
    // the fusion over the photos, No ends the run as failed. The fusion's output follows; a
    // failure adds its reason (exit code, no output file, could not start), a stop "stopped";
    // then a line break and message 109. A command line that is too long shows message 110
    // alone. An output file that did not exist before a run that did not succeed is removed. A
    // fused output receives the first photo's metadata; where that fails, one line before
    // message 109 says why (the run still counts as fused). The options can leave out the question
    // (as answered No) and message 109.
    ERunOutcome Run(const SBracketCommands& commands);

    // The steps of Run: Begin starts the first program (or ends the run where none can start);
    // Step polls the running program for at most nMilliseconds, and when it has ended goes on to
    // the next step; true once the run has ended. Stop stops the running program, which ends the
    // run as Run ends it on a stop.
    void Begin(const SBracketJob& job, CToolPaths& paths);
    void Begin(const SBracketCommands& commands);
    bool Step(unsigned nMilliseconds);
    void Stop();
    bool Ended() const { return m_state == EState::Ended; }
    ERunOutcome Outcome() const { return m_outcome; }

private:
    enum class EState { Ended, Aligning, Fusing };
    enum class EAligned { Aligned, Failed, Stopped };
    ERunOutcome Drive();
    void StartAlign();
    // pResult: the alignment program's run; none when it could not be run at all.
    EAligned JudgeAlign(const SProgramRun* pResult);
    void AfterAlign(const SProgramRun* pResult);
    void StartFuse(const platform::SCommandLine& command, bool bAlignedImages);
    void AfterFuse();
    void End(ERunOutcome outcome, unsigned nStep);
    void Progress(ERunPhase phase, unsigned nStep);
    // The tool's output and the clock moved the progress: reported when it shows something new.
    void ProgressMoved();
    double Now() const;
    void AddClosingMessage();
    // The wait cursor while a program step runs.
    void Busy(bool bBusy);

    const platform::COs& m_os;
    CRunObserver& m_observer;
    SBracketRunOptions m_options;
    CProgramRun m_program;
    EState m_state = EState::Ended;
    bool m_bBusy = false;
    ERunOutcome m_outcome = ERunOutcome::Failed;
    const SBracketCommands* m_pCommands = nullptr;
    std::optional<CProgramStep> m_fuseStep;
    unsigned m_nSteps = 1;
    ERunPhase m_phase = ERunPhase::Done;
    unsigned m_nStep = 0;
    std::optional<CToolProgress> m_progress; // from Begin
    SRunProgress m_reported{ERunPhase::Done, 0, 0, 0.0};
    std::chrono::steady_clock::time_point m_start;
    // The commands Begin(job, paths) made.
    SBracketCommands m_made;
    std::optional<CAlignStep> m_alignStep;
    std::optional<SAlignRun> m_align;
};
} // namespace lvp
