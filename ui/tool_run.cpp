// Reads the tool's pipe to its end, adds its output to the pane line by line, and shows the outcome.
#include "ui/tool_run.h"

#include "platform/locale.h"
#include "platform/utf.h"
#include "resources/ids.h"
#include "resources/strings.h"
#include "fusion/alignment.h"
#include "ui/framework/message_box.h"
#include "ui/framework/wait_cursor.h"

#include <chrono>

namespace lvp {
namespace {
constexpr unsigned kPollMilliseconds = 50; // how long a read or wait lasts before the next look at the user
// Lines that arrive in a stream are added at most this often: an edit control may take time in
// proportion to its whole text for every addition (Wine's does), so fewer, larger additions
// keep a long run from slowing down with the square of its output.
constexpr auto kAddInterval = std::chrono::milliseconds(100);

void AddToPane(CEdit& editOutput, std::u16string_view text)
{
    int nLength = editOutput.GetTextLength();
    editOutput.SetSel(nLength, nLength);
    editOutput.ScrollCaret();
    editOutput.ReplaceSel(text, false);
    // The run blocks the thread, so the pane is painted here or not at all until it ends.
    editOutput.UpdateWindow();
}

// Adds the program's output to the pane as it arrives until the pipe ends; false when the user
// stopped the run first. bOpenLine tells whether the last line added has no line break. The
// bytes of a line are converted together, so that characters of several bytes survive. Complete
// lines are added together: as soon as the program pauses, else every kAddInterval.
bool ShowOutput(CEdit& editOutput, platform::CPipeReadEnd& pipe, const SToolRun& run, bool& bOpenLine)
{
    using Clock = std::chrono::steady_clock;
    bOpenLine = false;
    std::string pending;     // bytes after the last line feed
    std::u16string complete; // lines not yet in the pane
    Clock::time_point lastAdd = Clock::now();
    auto addComplete = [&] {
        if (!complete.empty())
            AddToPane(editOutput, complete);
        complete.clear();
        lastAdd = Clock::now();
    };
    std::string buffer(16384, '\0');
    size_t nRead = 0;
    for (;;) {
        platform::EPipeRead got =
            run.os.ReadPipe(pipe, buffer.data(), buffer.size(), nRead, kPollMilliseconds);
        if (got == platform::EPipeRead::End)
            break;
        if (run.stopRequested && run.stopRequested()) {
            addComplete();
            return false;
        }
        const size_t nOld = pending.size(); // holds no line feed
        for (size_t i = 0; i < nRead; ++i) {
            // A zero byte has always added nothing; inside a line it would cut the line short.
            if (buffer[i] != '\0')
                pending += buffer[i];
        }
        size_t nLast = std::string_view(pending).substr(nOld).rfind('\n');
        if (nLast != std::string_view::npos) {
            size_t nComplete = nOld + nLast + 1;
            complete += platform::NarrowToUtf16(std::string_view(pending).substr(0, nComplete));
            pending.erase(0, nComplete);
        }
        if (got == platform::EPipeRead::Idle || Clock::now() - lastAdd >= kAddInterval)
            addComplete();
    }
    addComplete();
    AddToPane(editOutput, platform::NarrowToUtf16(pending));
    bOpenLine = !pending.empty();
    return true;
}

// Waits for the program after its output has ended; false when the user stopped it first.
bool WaitForProgram(platform::CProcess& process, const SToolRun& run, int& nExitCode)
{
    while (!run.os.WaitForExit(process, kPollMilliseconds, nExitCode)) {
        if (run.stopRequested && run.stopRequested())
            return false;
    }
    return true;
}

// The text that says why a step that ran to its end did not succeed; empty when it did.
std::u16string FailureText(EStepFailure failure, int nExitCode, const CProgramStep& step)
{
    switch (failure) {
    case EStepFailure::ExitCode:
        return FormatModuleString(IDS_TOOL_FAILED, ExitCodeText(nExitCode));
    case EStepFailure::NoOutput:
        return LoadModuleString(IDS_TOOL_NO_OUTPUT);
    case EStepFailure::NotSaved:
        return FormatModuleString(IDS_OUTPUT_NOT_SAVED, step.RealOutput());
    case EStepFailure::None:
        break;
    }
    return {};
}

// The line that says why the first photo's metadata is not in the fused output; empty when it is,
// or there was nothing to carry.
std::u16string MetadataText(metadata::ECarryOutcome outcome, const SToolRun& run, const CProgramStep& step)
{
    using metadata::ECarryOutcome;
    if (!metadata::IsReportedFailure(outcome))
        return {};
    switch (outcome) {
    case ECarryOutcome::UnsupportedOutput:
        return FormatModuleString(IDS_METADATA_FORMAT_UNSUPPORTED, step.RealOutput());
    case ECarryOutcome::SourceDamaged:
        return FormatModuleString(IDS_METADATA_SOURCE_DAMAGED, run.strFirstPhoto);
    case ECarryOutcome::OutputUnreadable:
        return FormatModuleString(IDS_METADATA_OUTPUT_UNREADABLE, step.RealOutput());
    default:
        return FormatModuleString(IDS_METADATA_NOT_WRITTEN, step.RealOutput());
    }
}

enum class EProgramEnd { NotStarted, Stopped, Ended };
struct SProgramRun {
    EProgramEnd end = EProgramEnd::NotStarted;
    int nExitCode = -1;
    std::u16string strError; // NotStarted: the system's reason
    bool bOpenLine = false;  // the last line in the pane has no line break
};

// Starts the program, shows its output until the pipe ends and waits for it; a stop ends it with
// everything it started.
SProgramRun RunProgram(CEdit& editOutput, const platform::SCommandLine& command, const SToolRun& run)
{
    SProgramRun result;
    platform::CPipeReadEnd pipe;
    platform::CProcess process = run.os.StartProcessWithPipe(command, pipe, result.strError);
    if (!process)
        return result;
    result.end = EProgramEnd::Ended;
    if (!ShowOutput(editOutput, pipe, run, result.bOpenLine) || !WaitForProgram(process, run, result.nExitCode)) {
        run.os.StopProcess(process);
        result.end = EProgramEnd::Stopped;
    }
    pipe.Close();
    process.Close();
    return result;
}

void AddNote(CEdit& editOutput, bool bOpenLine, const std::u16string& strNote)
{
    AddToPane(editOutput, (bOpenLine ? u"\r\n" : u"") + strNote + u"\r\n");
}

enum class EAligned { Aligned, Failed, Stopped };

// Runs the alignment program; a failure (no folder for the images, a command line too long, a
// program that cannot start, an exit code other than 0, an image missing) and a stop leave their
// note in the pane.
EAligned Align(CEdit& editOutput, const CAlignStep& step, const SToolRun& run)
{
    CWaitCursor waitCursor(run.ui);
    std::u16string strNote = LoadModuleString(IDS_ALIGN_FAILED);
    bool bOpenLine = false;
    if (step.Ready() && !run.os.IsCommandLineTooLong(step.Command())) {
        const SProgramRun result = RunProgram(editOutput, step.Command(), run);
        if (result.end == EProgramEnd::Stopped) {
            AddNote(editOutput, result.bOpenLine, LoadModuleString(IDS_TOOL_STOPPED));
            return EAligned::Stopped;
        }
        if (result.end == EProgramEnd::NotStarted)
            strNote = FormatModuleString(IDS_ALIGN_NOT_STARTED, result.strError);
        else if (step.Finish(result.nExitCode))
            return EAligned::Aligned;
        bOpenLine = result.bOpenLine;
    }
    AddNote(editOutput, bOpenLine, strNote);
    return EAligned::Failed;
}

// The fusion program's run and its outcome, after whatever the pane already shows.
ERunOutcome Fuse(CEdit& editOutput, const platform::SCommandLine& command, const SToolRun& run)
{
    if (run.os.IsCommandLineTooLong(command)) {
        AddToPane(editOutput, LoadModuleString(IDS_COMMAND_TOO_LONG)); // after the alignment's output, if any
        return ERunOutcome::Failed;
    }
    CProgramStep step(run.os, run.strOutputFile, run.pPaths, run.strFirstPhoto);
    step.Begin();
    CWaitCursor waitCursor(run.ui);
    const SProgramRun result = RunProgram(editOutput, command, run);
    ERunOutcome outcome = ERunOutcome::Failed;
    std::u16string strReason;
    if (result.end == EProgramEnd::NotStarted) {
        strReason = FormatModuleString(IDS_TOOL_NOT_STARTED, result.strError);
    } else if (result.end == EProgramEnd::Stopped) {
        outcome = ERunOutcome::Stopped;
        strReason = LoadModuleString(IDS_TOOL_STOPPED);
    } else {
        strReason = FailureText(step.Finish(result.nExitCode), result.nExitCode, step);
        if (strReason.empty()) {
            outcome = ERunOutcome::Fused;
            strReason = MetadataText(step.MetadataOutcome(), run, step); // a note, not a failure
        }
    }
    // A partial file of a run that did not succeed goes, unless it was there before the run.
    if (outcome != ERunOutcome::Fused)
        step.Abandon();
    if (!strReason.empty())
        AddNote(editOutput, result.bOpenLine, strReason);
    AddToPane(editOutput, u"\r\n" + LoadModuleString(IDS_CLOSE_WITH_OK));
    waitCursor.End();
    return outcome;
}
} // namespace

ERunOutcome RunAndShowOutput(CEdit& editOutput, const platform::SCommandLine& command, const SToolRun& run)
{
    editOutput.SetLimitText(0); // as much as memory allows, not the default 30 000 characters
    editOutput.SetText(u"");
    const platform::SCommandLine* pFuse = &command;
    if (run.pAlign) {
        const EAligned aligned = Align(editOutput, run.pAlign->step, run);
        if (aligned == EAligned::Aligned) {
            pFuse = &run.pAlign->fuseAligned;
        } else if (aligned == EAligned::Stopped ||
                   !AskYesNo(run.ui, LoadModuleString(IDS_ALIGN_ASK_UNALIGNED), true)) {
            AddToPane(editOutput, u"\r\n" + LoadModuleString(IDS_CLOSE_WITH_OK));
            return aligned == EAligned::Stopped ? ERunOutcome::Stopped : ERunOutcome::Failed;
        } else {
            AddToPane(editOutput, LoadModuleString(IDS_ALIGN_UNALIGNED) + u"\r\n");
        }
    }
    return Fuse(editOutput, *pFuse, run);
}
} // namespace lvp
