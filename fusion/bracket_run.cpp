// The order of one bracket's run: alignment, the question when it fails, fusion, metadata,
// commit, and the notes the pane receives on every way.
#include "fusion/bracket_run.h"

#include "fusion/alignment.h"
#include "fusion/command_line.h"
#include "fusion/photo_checks.h"
#include "fusion/program_run.h"
#include "fusion/tool_paths.h"
#include "resources/ids.h"
#include "resources/strings.h"

#include <cstdlib>
#include <utility>

namespace lvp {
namespace {
// Of the first photo (enfuse fuses photos of one size); 0 when its header does not give it.
double Megapixels(const std::vector<std::u16string>& photos, const platform::COs& os)
{
    if (photos.empty())
        return 0;
    const std::optional<metadata::SImageSize> size = ReadPhotoSize(photos.front(), os);
    return size ? static_cast<double>(size->width) * size->height / 1e6 : 0;
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

CBracketRun::~CBracketRun()
{
    try {
        Busy(false); // a run left early (its program stops with its holder)
    } catch (...) {
        // The observer's failure ends nothing more here.
    }
}

void CBracketRun::Busy(bool bBusy)
{
    if (std::exchange(m_bBusy, bBusy) != bBusy)
        m_observer.ShowBusy(bBusy);
}

void CBracketRun::AddClosingMessage()
{
    m_observer.AddText(m_options.bClosingMessage ? u"\r\n" + LoadModuleString(IDS_CLOSE_WITH_OK) : u"\r\n");
}

bool ProgressSwitchedOff()
{
#ifdef LVP_BENCH_SWITCHES
    return std::getenv("LVP_BENCH_NO_PROGRESS") != nullptr;
#else
    return false;
#endif
}

double CBracketRun::Now() const
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count();
}

void CBracketRun::Progress(ERunPhase phase, unsigned nStep)
{
    m_phase = phase;
    m_nStep = nStep;
    m_reported = {phase, nStep, m_nSteps, m_progress->Fraction(), m_progress->Detail()};
    m_observer.ReportProgress(m_reported);
}

void CBracketRun::ProgressMoved()
{
    if (ProgressSwitchedOff())
        return;
    m_progress->Tick(Now());
    // A thousandth of the bar is less than a pixel of it.
    if (m_progress->Fraction() >= m_reported.fraction + 0.001 || m_progress->Detail() != m_reported.detail)
        Progress(m_phase, m_nStep);
}

void CBracketRun::End(ERunOutcome outcome, unsigned nStep)
{
    m_state = EState::Ended;
    m_outcome = outcome;
    m_fuseStep.reset();
    m_program.SetOutputListener(nullptr);
    m_progress->Finish(outcome == ERunOutcome::Fused);
    Progress(ERunPhase::Done, nStep);
}

void CBracketRun::StartAlign()
{
    Busy(true);
    const CAlignStep& step = m_pCommands->pAlign->step;
    if (!step.Ready() || m_os.IsCommandLineTooLong(step.Command()))
        return AfterAlign(nullptr);
    if (!m_program.Start(step.Command()))
        return AfterAlign(&m_program.Result());
    m_state = EState::Aligning;
}

// A failure (no folder for the images, a command line too long, a program that cannot start, an
// exit code other than 0, an image missing) and a stop leave their note in the pane.
CBracketRun::EAligned CBracketRun::JudgeAlign(const SProgramRun* pResult)
{
    std::u16string strNote = LoadModuleString(IDS_ALIGN_FAILED);
    bool bOpenLine = false;
    if (pResult) {
        if (pResult->end == EProgramEnd::Stopped) {
            AddNote(m_observer, pResult->bOpenLine, LoadModuleString(IDS_TOOL_STOPPED));
            return EAligned::Stopped;
        }
        if (pResult->end == EProgramEnd::NotStarted)
            strNote = FormatModuleString(IDS_ALIGN_NOT_STARTED, pResult->strError);
        else if (m_pCommands->pAlign->step.Finish(pResult->nExitCode))
            return EAligned::Aligned;
        bOpenLine = pResult->bOpenLine;
    }
    AddNote(m_observer, bOpenLine, strNote);
    return EAligned::Failed;
}

void CBracketRun::AfterAlign(const SProgramRun* pResult)
{
    const EAligned aligned = JudgeAlign(pResult);
    Busy(false);
    if (aligned == EAligned::Aligned)
        return StartFuse(m_pCommands->pAlign->fuseAligned, true);
    if (aligned == EAligned::Stopped || !m_options.bAskUnaligned ||
        !m_observer.AskYesNo(LoadModuleString(IDS_ALIGN_ASK_UNALIGNED), true)) {
        AddClosingMessage();
        // It stops where it was.
        return End(aligned == EAligned::Stopped ? ERunOutcome::Stopped : ERunOutcome::Failed, 1);
    }
    m_observer.AddText(LoadModuleString(IDS_ALIGN_UNALIGNED) + u"\r\n");
    StartFuse(m_pCommands->fuse, false);
}

void CBracketRun::StartFuse(const platform::SCommandLine& command, bool bAlignedImages)
{
    m_progress->BeginFuse(Now(), bAlignedImages);
    Progress(ERunPhase::Fuse, m_nSteps);
    if (m_os.IsCommandLineTooLong(command)) {
        m_observer.AddText(LoadModuleString(IDS_COMMAND_TOO_LONG)); // after the alignment's output, if any
        if (!m_options.bClosingMessage)
            m_observer.AddText(u"\r\n"); // what follows in a batch begins a line of its own
        return End(ERunOutcome::Failed, m_nSteps);
    }
    const SBracketCommands& commands = *m_pCommands;
    m_fuseStep.emplace(m_os, commands.strOutputFile, commands.pPaths, commands.strFirstPhoto);
    m_fuseStep->Begin();
    Busy(true);
    if (!m_program.Start(command))
        return AfterFuse();
    m_state = EState::Fusing;
}

void CBracketRun::AfterFuse()
{
    CProgramStep& step = *m_fuseStep;
    const SProgramRun& result = m_program.Result();
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
            strReason = MetadataText(step.MetadataOutcome(), m_pCommands->strFirstPhoto,
                                     step); // a note, not a failure
        }
    }
    // A partial file of a run that did not succeed goes, unless it was there before the run.
    if (outcome != ERunOutcome::Fused)
        step.Abandon();
    if (!strReason.empty())
        AddNote(m_observer, result.bOpenLine, strReason);
    AddClosingMessage();
    Busy(false);
    End(outcome, m_nSteps);
}

void CBracketRun::Begin(const SBracketCommands& commands)
{
    m_pCommands = &commands;
    m_nSteps = commands.pAlign ? 2 : 1;
    m_start = std::chrono::steady_clock::now();
    m_progress.emplace(commands.nPhotos, commands.megapixels, commands.pAlign != nullptr);
    if (!ProgressSwitchedOff())
        m_program.SetOutputListener([this](std::string_view bytes) { m_progress->Feed(bytes, Now()); });
    if (!commands.pAlign)
        return StartFuse(commands.fuse, false);
    m_progress->BeginAlign(Now());
    Progress(ERunPhase::Align, 1);
    StartAlign();
}

bool CBracketRun::Step(unsigned nMilliseconds)
{
    // A program that follows one that ended is polled at once, as the first read follows its start.
    while (m_state != EState::Ended) {
        if (!m_program.Poll(nMilliseconds)) {
            ProgressMoved();
            return false;
        }
        if (m_state == EState::Aligning)
            AfterAlign(&m_program.Result());
        else
            AfterFuse();
    }
    return true;
}

void CBracketRun::Stop()
{
    if (m_state == EState::Ended)
        return;
    m_program.Stop();
    if (m_state == EState::Aligning)
        AfterAlign(&m_program.Result());
    else
        AfterFuse();
}

ERunOutcome CBracketRun::Drive()
{
    while (!Step(kPollMilliseconds)) {
        if (m_observer.StopRequested())
            Stop();
    }
    return m_outcome;
}

ERunOutcome CBracketRun::Run(const SBracketCommands& commands)
{
    Begin(commands);
    return Drive();
}

void CBracketRun::Begin(const SBracketJob& job, CToolPaths& paths)
{
    const std::u16string& output = paths.ToolOutput();
    m_made = SBracketCommands{
        BuildToolCommand(job.strFusionProgram, output, job.nQuality, paths.Inputs(), job.mode),
        output,
        &paths,
        nullptr,
        job.photos.empty() ? std::u16string() : job.photos.front(),
        job.photos.size(),
        Megapixels(job.photos, m_os)};
    m_align.reset();
    m_alignStep.reset();
    if (!job.strAlignProgram.empty()) {
        const CAlignStep& step =
            m_alignStep.emplace(m_os, paths, job.strAlignProgram, paths.Inputs(), job.mode);
        m_made.pAlign = &m_align.emplace(SAlignRun{
            step, BuildToolCommand(job.strFusionProgram, output, job.nQuality, step.Aligned(), job.mode)});
    }
    Begin(m_made);
}

ERunOutcome CBracketRun::Run(const SBracketJob& job, CToolPaths& paths)
{
    Begin(job, paths);
    return Drive();
}
} // namespace lvp
