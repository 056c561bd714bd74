// The run of a batch: the brackets in order through CBracketRun, the notes and the summary around
// them, and the progress of the whole.
#include "fusion/batch_run.h"

#include "fusion/batch_names.h"
#include "fusion/tool_paths.h"
#include "platform/path.h"
#include "platform/utf.h"
#include "resources/ids.h"
#include "resources/strings.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace lvp {
namespace {
// Passes on what the brackets' runs tell; their progress as that of the batch, in which every
// bracket has the same number of steps and only the batch's own end is Done.
class CBatchObserver final : public CRunObserver {
public:
    CBatchObserver(CRunObserver& observer, unsigned nBracketSteps, size_t nBrackets)
        : m_observer(observer), m_nBracketSteps(nBracketSteps),
          m_nSteps(static_cast<unsigned>(nBracketSteps * nBrackets))
    {
    }
    void AddText(std::u16string_view text) override { m_observer.AddText(text); }
    bool AskYesNo(std::u16string_view question, bool bYesDefault) override
    {
        return m_observer.AskYesNo(question, bYesDefault);
    }
    bool StopRequested() override { return m_observer.StopRequested(); }
    void ShowBusy(bool bBusy) override { m_observer.ShowBusy(bBusy); }
    void ReportProgress(const SRunProgress& progress) override
    {
        m_nStep = m_nStepsBefore + progress.nStep;
        const double fraction = (m_nStepsBefore + progress.fraction * m_nBracketSteps) / m_nSteps;
        m_fraction = std::min(1.0, std::max(m_fraction, fraction));
        if (progress.phase != ERunPhase::Done)
            m_observer.ReportProgress({progress.phase, m_nStep, m_nSteps, m_fraction});
    }
    // A bracket's steps are behind, whether it ran or not.
    void EndBracket() { m_nStepsBefore += m_nBracketSteps; }
    void EndBatch() { m_observer.ReportProgress({ERunPhase::Done, m_nStep, m_nSteps, m_fraction}); }

private:
    CRunObserver& m_observer;
    const unsigned m_nBracketSteps, m_nSteps;
    unsigned m_nStepsBefore = 0, m_nStep = 0;
    double m_fraction = 0.0;
};

std::u16string Number(size_t n)
{
    return platform::DecimalText(static_cast<std::int64_t>(n));
}

std::u16string Joined(const std::vector<std::u16string>& parts, std::u16string_view between)
{
    std::u16string out;
    for (const std::u16string& part : parts)
        out.append(out.empty() ? u"" : between).append(part);
    return out;
}
} // namespace

ERunOutcome CBatchRun::RunBracket(const SBracketJob& job, const std::u16string& output,
                                  CRunObserver& observer)
{
    CToolPaths paths(m_os);
    std::u16string strFailed;
    if (!paths.Prepare(job.photos, output, strFailed)) {
        observer.AddText(FormatModuleString(IDS_PATH_NOT_FOR_TOOL, strFailed) + u"\r\n\r\n");
        return ERunOutcome::Failed;
    }
    const SBracketRunOptions options{.bAskUnaligned = false, .bClosingMessage = false};
    return CBracketRun(m_os, observer, options).Run(job, paths);
}

SBatchResult CBatchRun::Run(const SBatchJob& batch)
{
    const std::vector<std::u16string>& photos = batch.job.photos;
    const std::u16string_view sep = m_os.PathSeparators();
    const auto fileName = [sep](std::u16string_view path) {
        return std::u16string(platform::FileNameOf(path, sep));
    };
    std::vector<size_t> fused; // indices into batch.brackets
    for (size_t i = 0; i < batch.brackets.size(); ++i) {
        const SBracket& bracket = batch.brackets[i];
        if (IsBatchFused(bracket, photos.size()) && i < batch.outputs.size() && !batch.outputs[i].empty())
            fused.push_back(i);
        else if (bracket.nCount == 1 && bracket.nFirst < photos.size())
            m_observer.AddText(FormatModuleString(IDS_BATCH_SINGLE_PHOTO, fileName(photos[bracket.nFirst])) +
                               u"\r\n");
    }
    CBatchObserver observer(m_observer, batch.job.strAlignProgram.empty() ? 1 : 2, fused.size());
    SBatchResult result;
    std::vector<std::u16string> failed, stopped; // the output names of the brackets not fused
    for (size_t n = 0; n < fused.size(); ++n) {
        const SBracket& bracket = batch.brackets[fused[n]];
        const std::u16string& output = batch.outputs[fused[n]];
        const std::u16string outputName = fileName(output);
        result.bStopped = result.bStopped || m_observer.StopRequested();
        if (result.bStopped) {
            stopped.push_back(outputName);
            continue;
        }
        SBracketJob job = batch.job;
        job.photos.assign(photos.begin() + static_cast<std::ptrdiff_t>(bracket.nFirst),
                          photos.begin() + static_cast<std::ptrdiff_t>(bracket.nFirst + bracket.nCount));
        m_observer.AddText(FormatModuleStrings(IDS_BATCH_BRACKET, {Number(n + 1), Number(fused.size()),
                                                                   fileName(job.photos.front()),
                                                                   fileName(job.photos.back()), outputName}) +
                           u"\r\n");
        const ERunOutcome outcome = RunBracket(job, output, observer);
        observer.EndBracket();
        if (outcome == ERunOutcome::Fused) {
            result.written.push_back(output);
        } else if (outcome == ERunOutcome::Stopped) {
            result.bStopped = true;
            stopped.push_back(outputName);
        } else {
            failed.push_back(outputName);
        }
    }
    std::u16string summary =
        FormatModuleStrings(IDS_BATCH_SUMMARY, {Number(result.written.size()), Number(fused.size())});
    if (!failed.empty())
        summary.append(u" ").append(FormatModuleString(IDS_BATCH_FAILED, Joined(failed, u", ")));
    if (!stopped.empty())
        summary.append(u" ").append(FormatModuleString(IDS_BATCH_STOPPED, Joined(stopped, u", ")));
    m_observer.AddText(summary + u"\r\n\r\n" + LoadModuleString(IDS_CLOSE_WITH_OK));
    observer.EndBatch();
    return result;
}
} // namespace lvp
