// One bracket's run against the fake programs: the order of what the observer hears (pane text,
// question, wait cursor, progress) on every way through alignment and fusion.
#include "fusion/bracket_run.h"
#include "fusion/tool_paths.h"
#include "platform/real_os.h"
#include "platform/utf.h"
#include "resources/ids.h"
#include "resources/strings.h"
#include "tests/fusion/run_recorder.h"
#include "tests/support/file_util.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {
using namespace lvp;
using namespace lvp::test;

// The fake run over photos (its script) with out.jpg in dir as the output, as the dialog runs it.
ERunOutcome RunBracket(const TempDir& dir, CRecorder& recorder, bool bAlign,
                       const std::vector<std::u16string>& photos)
{
    CToolPaths paths(platform::RealOs());
    std::u16string strFailed;
    EXPECT_TRUE(paths.Prepare(photos, dir.u16("out.jpg"), strFailed)) << platform::Utf16ToUtf8(strFailed);
    const SBracketJob job{kFake, 95, photos, bAlign ? kAlign : std::u16string()};
    return CBracketRun(platform::RealOs(), recorder).Run(job, paths);
}

TEST(BracketRun, OrderOfStepsAndWhatTheObserverHears)
{
    using P = SRunProgress;
    constexpr ERunPhase A = ERunPhase::Align, F = ERunPhase::Fuse, D = ERunPhase::Done;
    using S = EProgressStage;
    const SStageDetail pairs{S::AlignPairs, 1, 1}, load1{S::FuseLoad, 1, 1}, load2{S::FuseLoad, 1, 2},
        done{S::Done};
    const double fuse2 = AlignedFuseStart(2); // the alignment's share of two photos
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
         {P{F, 1, 1, 0.0, load1}, P{D, 1, 1, 1.0, done}},
         {IDS_CLOSE_WITH_OK},
         false},
        {"fusion fails",
         false,
         true,
         {u"exit:3"},
         ERunOutcome::Failed,
         0,
         {P{F, 1, 1, 0.0, load1}, P{D, 1, 1, 0.0, done}},
         {IDS_CLOSE_WITH_OK},
         false},
        {"aligned, then fused",
         true,
         true,
         {u"align:out:align\\n", u"args"},
         ERunOutcome::Fused,
         0,
         {P{A, 1, 2, 0.0, pairs}, P{F, 2, 2, fuse2, load2}, P{D, 2, 2, 1.0, done}},
         {IDS_CLOSE_WITH_OK},
         true},
        {"alignment fails, fused unaligned",
         true,
         true,
         {u"align:exit:2", u"args"},
         ERunOutcome::Fused,
         1,
         {P{A, 1, 2, 0.0, pairs}, P{F, 2, 2, fuse2, load2}, P{D, 2, 2, 1.0, done}},
         {IDS_ALIGN_FAILED, IDS_ALIGN_UNALIGNED, IDS_CLOSE_WITH_OK},
         false},
        {"alignment fails, not fused",
         true,
         false,
         {u"align:exit:2", u"args"},
         ERunOutcome::Failed,
         1,
         {P{A, 1, 2, 0.0, pairs}, P{D, 1, 2, 0.0, done}},
         {IDS_ALIGN_FAILED, IDS_CLOSE_WITH_OK},
         false},
        {"stopped while aligning: no question",
         true,
         true,
         {u"align:out:STOPME\\n", u"align:sleep:60000"},
         ERunOutcome::Stopped,
         0,
         {P{A, 1, 2, 0.0, pairs}, P{D, 1, 2, 0.0, done}},
         {IDS_TOOL_STOPPED, IDS_CLOSE_WITH_OK},
         false},
        {"stopped while fusing",
         false,
         true,
         {u"out:STOPME\\n", u"sleep:60000"},
         ERunOutcome::Stopped,
         0,
         {P{F, 1, 1, 0.0, load2}, P{D, 1, 1, 0.0, done}},
         {IDS_TOOL_STOPPED, IDS_CLOSE_WITH_OK},
         false},
    };
    for (const Case& c : cases) {
        TempDir dir;
        CRecorder recorder;
        recorder.m_bAnswer = c.bAnswer;
        EXPECT_EQ(RunBracket(dir, recorder, c.bAlign, c.photos), c.outcome)
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

// The pane of a single bracket's run, whole: the batch's options leave it as it was.
TEST(BracketRun, PaneOfASingleRunWhole)
{
    const std::u16string kClose = u"Klicken Sie auf \"OK\", um das Fenster zu schließen.";
    struct Case {
        const char* name;
        bool bAlign, bAnswer;
        std::vector<std::u16string> photos; // the fake's script
        std::u16string pane;
    } cases[] = {
        {"fused", false, true, {u"out:fuse\\n"}, u"fuse\n\r\n" + kClose},
        {"fusion fails",
         false,
         true,
         {u"out:x", u"exit:3"},
         u"x\r\nEnfuse wurde mit dem Fehlercode 3 beendet. Es wurde kein Bild erstellt.\r\n\r\n" + kClose},
        {"alignment fails, fused unaligned",
         true,
         true,
         {u"align:exit:2", u"b.jpg"},
         u"Die Bilder konnten nicht ausgerichtet werden.\r\nDie Bilder werden ohne Ausrichtung "
         u"zusammengeführt.\r\n\r\n" +
             kClose},
        {"alignment fails, not fused",
         true,
         false,
         {u"align:exit:2", u"b.jpg"},
         u"Die Bilder konnten nicht ausgerichtet werden.\r\n\r\n" + kClose},
    };
    for (const Case& c : cases) {
        TempDir dir;
        CRecorder recorder;
        recorder.m_bAnswer = c.bAnswer;
        RunBracket(dir, recorder, c.bAlign, c.photos);
        EXPECT_EQ(recorder.m_pane, c.pane) << c.name << ":\n" << platform::Utf16ToUtf8(recorder.m_pane);
    }
}
} // namespace
