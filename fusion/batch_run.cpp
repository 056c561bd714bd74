// The run of a batch: its brackets started in order, as many at once as allowed, polled in turn
// until each has ended; the notes and the summary around them.
#include "fusion/batch_run.h"

#include "fusion/batch_names.h"
#include "fusion/batch_observer.h"
#include "fusion/brackets_at_once.h"
#include "fusion/program_run.h"
#include "fusion/tool_paths.h"
#include "platform/path.h"
#include "platform/utf.h"
#include "resources/ids.h"
#include "resources/strings.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>

namespace lvp {
namespace {
// The shortest poll of one of several running programs: together they take about as long as one
// program's poll alone, so the user is looked at as often.
constexpr unsigned kLeastPollMilliseconds = 10;

// One bracket of the batch from its start to its end: its photos, the paths made for them, its run.
class CBracketSlot {
public:
    CBracketSlot(const platform::COs& os, CBatchObserver& batch, size_t n, SBracketJob job)
        : m_n(n), m_job(std::move(job)), m_paths(os), m_observer(batch, n),
          m_run(os, m_observer, SBracketRunOptions{.bAskUnaligned = false, .bClosingMessage = false})
    {
    }
    // Makes the paths for output and starts the run; a path without a form for the program
    // ends the bracket at once, failed.
    void Begin(const std::u16string& output)
    {
        std::u16string strFailed;
        if (m_paths.Prepare(m_job.photos, output, strFailed))
            return m_run.Begin(m_job, m_paths);
        m_bNoPaths = true;
        m_observer.AddText(FormatModuleString(IDS_PATH_NOT_FOR_TOOL, strFailed) + u"\r\n\r\n");
    }
    bool Step(unsigned nMilliseconds) { return m_bNoPaths || m_run.Step(nMilliseconds); }
    void Stop() { m_run.Stop(); }
    bool Ended() const { return m_bNoPaths || m_run.Ended(); }
    ERunOutcome Outcome() const { return m_bNoPaths ? ERunOutcome::Failed : m_run.Outcome(); }
    size_t Index() const { return m_n; }

private:
    const size_t m_n;
    SBracketJob m_job;
    CToolPaths m_paths; // goes after the run, whose program is stopped first
    CBracketObserver m_observer;
    CBracketRun m_run;
    bool m_bNoPaths = false;
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

unsigned CBatchRun::AtOnce(const SBatchJob& batch, const std::vector<SBracket>& fused) const
{
    const size_t nMost = m_options.nAtOnce > 0 ? m_options.nAtOnce : m_os.ProcessorCount();
    if (std::min(nMost, fused.size()) <= 1)
        return 1;
    if (m_options.nAtOnce > 0)
        return static_cast<unsigned>(std::min(nMost, fused.size()));
    const std::uint64_t nAvailable = m_os.AvailableMemory();
    if (nAvailable == 0)
        return 1;
    return BracketsAtOnce(static_cast<unsigned>(nMost), nAvailable,
                          ReadBracketSizes(batch.job.photos, fused, m_os),
                          !batch.job.strAlignProgram.empty());
}

SBatchResult CBatchRun::Run(const SBatchJob& batch)
{
    const std::vector<std::u16string>& photos = batch.job.photos;
    const std::u16string_view sep = m_os.PathSeparators();
    const auto fileName = [sep](std::u16string_view path) {
        return std::u16string(platform::FileNameOf(path, sep));
    };
    std::vector<size_t> fused; // indices into batch.brackets
    std::vector<SBracket> fusedBrackets;
    for (size_t i = 0; i < batch.brackets.size(); ++i) {
        const SBracket& bracket = batch.brackets[i];
        if (IsBatchFused(bracket, photos.size()) && i < batch.outputs.size() && !batch.outputs[i].empty()) {
            fused.push_back(i);
            fusedBrackets.push_back(bracket);
        } else if (bracket.nCount == 1 && bracket.nFirst < photos.size()) {
            m_observer.AddText(FormatModuleString(IDS_BATCH_SINGLE_PHOTO, fileName(photos[bracket.nFirst])) +
                               u"\r\n");
        }
    }
    std::vector<size_t> weights; // in a batch, a bracket weighs as many as its photos
    weights.reserve(fusedBrackets.size());
    for (const SBracket& bracket : fusedBrackets)
        weights.push_back(bracket.nCount);
    CBatchObserver observer(m_observer, batch.job.strAlignProgram.empty() ? 1 : 2, std::move(weights));
    SBatchResult result;
    result.nAtOnce = AtOnce(batch, fusedBrackets);
    std::vector<ERunOutcome> outcomes(fused.size(), ERunOutcome::Stopped); // never started: stopped
    std::vector<std::unique_ptr<CBracketSlot>> running;                    // in bracket order
    const auto end = [&](const CBracketSlot& slot) {
        outcomes[slot.Index()] = slot.Outcome();
        result.bStopped = result.bStopped || slot.Outcome() == ERunOutcome::Stopped;
        observer.EndBracket(slot.Index());
    };
    for (size_t nNext = 0;;) {
        while (!result.bStopped && nNext < fused.size() && running.size() < result.nAtOnce) {
            if (m_observer.StopRequested()) {
                result.bStopped = true;
                break;
            }
            const SBracket& bracket = fusedBrackets[nNext];
            SBracketJob job = batch.job;
            job.photos.assign(photos.begin() + static_cast<std::ptrdiff_t>(bracket.nFirst),
                              photos.begin() + static_cast<std::ptrdiff_t>(bracket.nFirst + bracket.nCount));
            const std::u16string& output = batch.outputs[fused[nNext]];
            observer.AddText(nNext, FormatModuleStrings(IDS_BATCH_BRACKET,
                                                        {Number(nNext + 1), Number(fused.size()),
                                                         fileName(job.photos.front()),
                                                         fileName(job.photos.back()), fileName(output)}) +
                                        u"\r\n");
            auto slot = std::make_unique<CBracketSlot>(m_os, observer, nNext++, std::move(job));
            slot->Begin(output);
            if (slot->Ended())
                end(*slot);
            else
                running.push_back(std::move(slot));
        }
        if (running.empty())
            break;
        const unsigned nPoll =
            std::max(kLeastPollMilliseconds, kPollMilliseconds / static_cast<unsigned>(running.size()));
        for (auto it = running.begin(); it != running.end();) {
            if ((*it)->Step(nPoll)) {
                end(**it);
                it = running.erase(it);
            } else {
                ++it;
            }
        }
        if (!running.empty() && m_observer.StopRequested()) {
            for (const std::unique_ptr<CBracketSlot>& slot : running) {
                slot->Stop();
                end(*slot);
            }
            running.clear();
            result.bStopped = true;
        }
    }
    std::vector<std::u16string> failed, stopped; // the output names of the brackets not fused
    for (size_t n = 0; n < fused.size(); ++n) {
        const std::u16string& output = batch.outputs[fused[n]];
        if (outcomes[n] == ERunOutcome::Fused)
            result.written.push_back(output);
        else if (outcomes[n] == ERunOutcome::Stopped)
            stopped.push_back(fileName(output));
        else
            failed.push_back(fileName(output));
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
