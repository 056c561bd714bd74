// The order of one bracket's run: alignment, the question when it fails, fusion, metadata,
// commit, and the notes the pane receives on every way.
#include "fusion/bracket_run.h"

#include "fusion/alignment.h"
#include "fusion/command_line.h"
#include "fusion/program_run.h"
#include "fusion/tool_paths.h"
#include "resources/ids.h"
#include "resources/strings.h"

#include <utility>

namespace lvp {
namespace {
// The wait cursor from construction until End or destruction.
class CBusy {
public:
    explicit CBusy(CRunObserver& observer) : m_observer(observer) { m_observer.ShowBusy(true); }
    CBusy(const CBusy&) = delete;
    CBusy& operator=(const CBusy&) = delete;
    ~CBusy() { End(); }
    void End()
    {
        if (std::exchange(m_bShown, false))
            m_observer.ShowBusy(false);
    }

private:
    CRunObserver& m_observer;
    bool m_bShown = true;
};

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
std::u16string MetadataText(metadata::ECarryOutcome outcome, const std::u16string& strFirstPhoto,
                            const CProgramStep& step)
{
    using metadata::ECarryOutcome;
    if (!metadata::IsReportedFailure(outcome))
        return {};
    switch (outcome) {
    case ECarryOutcome::UnsupportedOutput:
        return FormatModuleString(IDS_METADATA_FORMAT_UNSUPPORTED, step.RealOutput());
    case ECarryOutcome::SourceDamaged:
        return FormatModuleString(IDS_METADATA_SOURCE_DAMAGED, strFirstPhoto);
    case ECarryOutcome::OutputUnreadable:
        return FormatModuleString(IDS_METADATA_OUTPUT_UNREADABLE, step.RealOutput());
    default:
        return FormatModuleString(IDS_METADATA_NOT_WRITTEN, step.RealOutput());
    }
}

void AddNote(CRunObserver& observer, bool bOpenLine, const std::u16string& strNote)
{
    observer.AddText((bOpenLine ? u"\r\n" : u"") + strNote + u"\r\n");
}
} // namespace

void CBracketRun::AddClosingMessage()
{
    m_observer.AddText(m_options.bClosingMessage ? u"\r\n" + LoadModuleString(IDS_CLOSE_WITH_OK) : u"\r\n");
}

void CBracketRun::Progress(ERunPhase phase, unsigned nStep, double fraction)
{
    m_fraction = fraction;
    m_observer.ReportProgress({phase, nStep, m_nSteps, fraction});
}

// A failure (no folder for the images, a command line too long, a program that cannot start, an
// exit code other than 0, an image missing) and a stop leave their note in the pane.
CBracketRun::EAligned CBracketRun::Align(const CAlignStep& step)
{
    CBusy busy(m_observer);
    std::u16string strNote = LoadModuleString(IDS_ALIGN_FAILED);
    bool bOpenLine = false;
    if (step.Ready() && !m_os.IsCommandLineTooLong(step.Command())) {
        const SProgramRun result = RunProgram(m_os, m_observer, step.Command());
        if (result.end == EProgramEnd::Stopped) {
            AddNote(m_observer, result.bOpenLine, LoadModuleString(IDS_TOOL_STOPPED));
            return EAligned::Stopped;
        }
        if (result.end == EProgramEnd::NotStarted)
            strNote = FormatModuleString(IDS_ALIGN_NOT_STARTED, result.strError);
        else if (step.Finish(result.nExitCode))
            return EAligned::Aligned;
        bOpenLine = result.bOpenLine;
    }
    AddNote(m_observer, bOpenLine, strNote);
    return EAligned::Failed;
}

ERunOutcome CBracketRun::Fuse(const platform::SCommandLine& command, const SBracketCommands& commands)
{
    if (m_os.IsCommandLineTooLong(command)) {
        m_observer.AddText(LoadModuleString(IDS_COMMAND_TOO_LONG)); // after the alignment's output, if any
        if (!m_options.bClosingMessage)
            m_observer.AddText(u"\r\n"); // what follows in a batch begins a line of its own
        return ERunOutcome::Failed;
    }
    CProgramStep step(m_os, commands.strOutputFile, commands.pPaths, commands.strFirstPhoto);
    step.Begin();
    CBusy busy(m_observer);
    const SProgramRun result = RunProgram(m_os, m_observer, command);
    ERunOutcome outcome = ERunOutcome::Failed;
    std::u16string strReason;
    if (result.end == EProgramEnd::NotStarted) {
        strReason = FormatModuleString(IDS_TOOL_NOT_STARTED, result.strError);
    } else if (result.end == EProgramEnd::Stopped) {
        outcome = ERunOutcome::Stopped;
        strReason = LoadModuleString(IDS_TOOL_STOPPED);
    } else {
        const EStepFailure failure = step.Finish(result.nExitCode);
        strReason = FailureText(failure, result.nExitCode, step);
        if (failure == EStepFailure::None) {
            outcome = ERunOutcome::Fused;
            strReason =
                MetadataText(step.MetadataOutcome(), commands.strFirstPhoto, step); // a note, not a failure
        }
    }
    // A partial file of a run that did not succeed goes, unless it was there before the run.
    if (outcome != ERunOutcome::Fused)
        step.Abandon();
    if (!strReason.empty())
        AddNote(m_observer, result.bOpenLine, strReason);
    AddClosingMessage();
    busy.End();
    return outcome;
}

ERunOutcome CBracketRun::Run(const SBracketCommands& commands)
{
    m_nSteps = commands.pAlign ? 2 : 1;
    const platform::SCommandLine* pFuse = &commands.fuse;
    if (commands.pAlign) {
        Progress(ERunPhase::Align, 1, 0.0);
        const EAligned aligned = Align(commands.pAlign->step);
        if (aligned == EAligned::Aligned) {
            pFuse = &commands.pAlign->fuseAligned;
        } else if (aligned == EAligned::Stopped || !m_options.bAskUnaligned ||
                   !m_observer.AskYesNo(LoadModuleString(IDS_ALIGN_ASK_UNALIGNED), true)) {
            AddClosingMessage();
            const ERunOutcome outcome =
                aligned == EAligned::Stopped ? ERunOutcome::Stopped : ERunOutcome::Failed;
            Progress(ERunPhase::Done, 1, m_fraction); // it stops where it was
            return outcome;
        } else {
            m_observer.AddText(LoadModuleString(IDS_ALIGN_UNALIGNED) + u"\r\n");
        }
    }
    Progress(ERunPhase::Fuse, m_nSteps, static_cast<double>(m_nSteps - 1) / m_nSteps);
    const ERunOutcome outcome = Fuse(*pFuse, commands);
    Progress(ERunPhase::Done, m_nSteps, outcome == ERunOutcome::Fused ? 1.0 : m_fraction);
    return outcome;
}

ERunOutcome CBracketRun::Run(const SBracketJob& job, CToolPaths& paths)
{
    const std::u16string& output = paths.ToolOutput();
    SBracketCommands commands{BuildToolCommand(job.strFusionProgram, output, job.nQuality, paths.Inputs()),
                              output, &paths, nullptr,
                              job.photos.empty() ? std::u16string() : job.photos.front()};
    if (job.strAlignProgram.empty())
        return Run(commands);
    const CAlignStep step(m_os, paths, job.strAlignProgram, paths.Inputs());
    const SAlignRun align{step, BuildToolCommand(job.strFusionProgram, output, job.nQuality, step.Aligned())};
    commands.pAlign = &align;
    return Run(commands);
}
} // namespace lvp
