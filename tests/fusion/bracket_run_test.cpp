// One bracket's run against the fake programs: the order of what the observer hears (pane text,
// question, wait cursor, progress) on every way through alignment and fusion.
#include "fusion/bracket_run.h"
#include "fusion/tool_paths.h"
#include "platform/real_os.h"
#include "platform/utf.h"
#include "resources/ids.h"
#include "resources/strings.h"
#include "tests/support/file_util.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {
using namespace lvp;

const std::u16string kFake = platform::Utf8ToUtf16(LVP_FAKE_TOOL);
const std::u16string kAlign = kFake; // with "-a PREFIX" the fake aligns

// Records everything the run tells, in order; answers the question as told.
class CRecorder final : public CRunObserver {
public:
    void AddText(std::u16string_view text) override { m_pane += text; }
    bool AskYesNo(std::u16string_view question, bool bYesDefault) override
    {
        m_questions.emplace_back(question);
        m_bYesDefault = bYesDefault;
        return m_bAnswer;
    }
    bool StopRequested() override { return m_pane.find(u"STOPME") != std::u16string::npos; }
    void ShowBusy(bool bBusy) override
    {
        EXPECT_NE(bBusy, m_bBusy) << "the wait cursor is begun and ended in pairs";
        m_bBusy = bBusy;
        ++m_nBusyChanges;
    }
    void ReportProgress(const SRunProgress& progress) override { m_progress.push_back(progress); }

    bool m_bAnswer = true;
    std::u16string m_pane;
    std::vector<std::u16string> m_questions;
    bool m_bYesDefault = false;
    bool m_bBusy = false;
    int m_nBusyChanges = 0;
    std::vector<SRunProgress> m_progress;
};

TEST(BracketRun, OrderOfStepsAndWhatTheObserverHears)
{
    using P = SRunProgress;
    constexpr ERunPhase A = ERunPhase::Align, F = ERunPhase::Fuse, D = ERunPhase::Done;
    struct Case {
        const char* name;
        bool bAlign, bAnswer;
        std::vector<std::u16string> photos; // the fake's script
        ERunOutcome outcome;
        size_t nQuestions;
        std::vector<SRunProgress> progress;
        std::vector<unsigned> texts; // in the pane, in this order
        bool bFusedAligned;          // the fusion was given the aligned images
    } cases[] = {
        {"fused",
         false,
         true,
         {u"out:fuse\\n"},
         ERunOutcome::Fused,
         0,
         {P{F, 1, 1, 0.0}, P{D, 1, 1, 1.0}},
         {IDS_CLOSE_WITH_OK},
         false},
        {"fusion fails",
         false,
         true,
         {u"exit:3"},
         ERunOutcome::Failed,
         0,
         {P{F, 1, 1, 0.0}, P{D, 1, 1, 0.0}},
         {IDS_CLOSE_WITH_OK},
         false},
        {"aligned, then fused",
         true,
         true,
         {u"align:out:align\\n", u"args"},
         ERunOutcome::Fused,
         0,
         {P{A, 1, 2, 0.0}, P{F, 2, 2, 0.5}, P{D, 2, 2, 1.0}},
         {IDS_CLOSE_WITH_OK},
         true},
        {"alignment fails, fused unaligned",
         true,
         true,
         {u"align:exit:2", u"args"},
         ERunOutcome::Fused,
         1,
         {P{A, 1, 2, 0.0}, P{F, 2, 2, 0.5}, P{D, 2, 2, 1.0}},
         {IDS_ALIGN_FAILED, IDS_ALIGN_UNALIGNED, IDS_CLOSE_WITH_OK},
         false},
        {"alignment fails, not fused",
         true,
         false,
         {u"align:exit:2", u"args"},
         ERunOutcome::Failed,
         1,
         {P{A, 1, 2, 0.0}, P{D, 1, 2, 0.0}},
         {IDS_ALIGN_FAILED, IDS_CLOSE_WITH_OK},
         false},
        {"stopped while aligning: no question",
         true,
         true,
         {u"align:out:STOPME\\n", u"align:sleep:60000"},
         ERunOutcome::Stopped,
         0,
         {P{A, 1, 2, 0.0}, P{D, 1, 2, 0.0}},
         {IDS_TOOL_STOPPED, IDS_CLOSE_WITH_OK},
         false},
        {"stopped while fusing",
         false,
         true,
         {u"out:STOPME\\n", u"sleep:60000"},
         ERunOutcome::Stopped,
         0,
         {P{F, 1, 1, 0.0}, P{D, 1, 1, 0.0}},
         {IDS_TOOL_STOPPED, IDS_CLOSE_WITH_OK},
         false},
    };
    for (const Case& c : cases) {
        TempDir dir;
        CRecorder recorder;
        recorder.m_bAnswer = c.bAnswer;
        CToolPaths paths(platform::RealOs());
        std::u16string strFailed;
        ASSERT_TRUE(paths.Prepare(c.photos, dir.u16("out.jpg"), strFailed)) << c.name;
        const SBracketJob job{kFake, 95, c.photos, c.bAlign ? kAlign : std::u16string()};
        EXPECT_EQ(CBracketRun(platform::RealOs(), recorder).Run(job, paths), c.outcome)
            << c.name << ": " << platform::Utf16ToUtf8(recorder.m_pane);

        EXPECT_EQ(recorder.m_questions.size(), c.nQuestions) << c.name;
        if (c.nQuestions > 0) {
            EXPECT_EQ(recorder.m_questions.front(), LoadModuleString(IDS_ALIGN_ASK_UNALIGNED)) << c.name;
            EXPECT_TRUE(recorder.m_bYesDefault) << c.name;
        }
        EXPECT_EQ(recorder.m_progress, c.progress) << c.name;
        EXPECT_FALSE(recorder.m_bBusy) << c.name;
        EXPECT_GT(recorder.m_nBusyChanges, 0) << c.name;
        size_t pos = 0;
        for (unsigned id : c.texts) {
            const size_t found = recorder.m_pane.find(LoadModuleString(id), pos);
            ASSERT_NE(found, std::u16string::npos) << c.name << ": text " << id << " in order";
            pos = found;
        }
        EXPECT_TRUE(recorder.m_pane.ends_with(LoadModuleString(IDS_CLOSE_WITH_OK))) << c.name;
        const bool bFused = c.outcome == ERunOutcome::Fused;
        EXPECT_EQ(fs::exists(dir.path() / "out.jpg"), bFused) << c.name;
        EXPECT_EQ(recorder.m_pane.find(u"aligned0000") != std::u16string::npos, c.bFusedAligned) << c.name;
    }
}
} // namespace
