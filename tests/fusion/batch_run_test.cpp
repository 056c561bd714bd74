// A batch of brackets against the fake programs: the pane's lines, the outputs written, the
// progress, and what a failure, a stop, a single photo and a failed alignment do to the rest.
#include "fusion/batch_run.h"
#include "platform/real_os.h"
#include "resources/ids.h"
#include "resources/strings.h"
#include "tests/fusion/run_recorder.h"
#include "tests/support/file_util.h"

#include <gtest/gtest.h>

namespace {
using namespace lvp;
using namespace lvp::test;

// The output of bracket i (0-based) in a case's folder: o1.jpg, o2.jpg, ...
std::string OutputName(size_t i)
{
    std::string name = "o";
    name += std::to_string(i + 1);
    name += ".jpg";
    return name;
}

enum class EWant { Fused, Failed, Stopped, NotRun, Single };

TEST(BatchRun, BracketsInOrderFailuresNotedStopEndsTheBatch)
{
    using P = SRunProgress;
    constexpr ERunPhase A = ERunPhase::Align, F = ERunPhase::Fuse, D = ERunPhase::Done;
    using W = EWant;
    using S = EProgressStage;
    const auto load = [](unsigned n) { return SStageDetail{S::FuseLoad, 1, n}; };
    const SStageDetail pairs{S::AlignPairs, 1, 1}, done{S::Done};
    struct Case {
        const char* name;
        bool bAlign;
        std::vector<std::vector<std::u16string>> brackets; // the photos, each also the fake's script
        std::vector<EWant> want;
        std::vector<std::u16string> lines; // in the pane, in this order
        std::vector<SRunProgress> progress;
    } cases[] = {
        {"all fused",
         false,
         {{u"a1.jpg", u"a2.jpg"}, {u"b1.jpg", u"b2.jpg", u"b3.jpg"}, {u"c1.jpg", u"c2.jpg"}},
         {W::Fused, W::Fused, W::Fused},
         {u"Reihe 1 von 3: a1.jpg ... a2.jpg -> o1.jpg\r\n",
          u"Reihe 2 von 3: b1.jpg ... b3.jpg -> o2.jpg\r\n",
          u"Reihe 3 von 3: c1.jpg ... c2.jpg -> o3.jpg\r\n", u"3 von 3 Reihen zusammengeführt.\r\n"},
         {P{F, 1, 3, 0.0, load(2), 1, 3}, P{F, 2, 3, 2.0 / 7, load(3), 2, 3},
          P{F, 3, 3, 5.0 / 7, load(2), 3, 3}, P{D, 3, 3, 1.0, done, 3, 3}}},
        {"the middle one fails, the next still runs",
         false,
         {{u"a1.jpg", u"a2.jpg"}, {u"b1.jpg", u"exit:3"}, {u"c1.jpg", u"c2.jpg"}},
         {W::Fused, W::Failed, W::Fused},
         {u"Reihe 2 von 3: b1.jpg ... exit:3 -> o2.jpg\r\n", LoadModuleString(IDS_TOOL_FAILED).substr(0, 20),
          u"Reihe 3 von 3: c1.jpg ... c2.jpg -> o3.jpg\r\n",
          u"2 von 3 Reihen zusammengeführt. Fehlgeschlagen: o2.jpg.\r\n"},
         {P{F, 1, 3, 0.0, load(2), 1, 3}, P{F, 2, 3, 1.0 / 3, load(2), 2, 3},
          P{F, 3, 3, 1.0 / 3, load(2), 3, 3},
          P{D, 3, 3, 2.0 / 3, done, 3, 3}}}, // the failed one stays where it was
        {"stopped during the second: the third does not start",
         false,
         {{u"a1.jpg", u"a2.jpg"}, {u"out:STOP\\x4dE\\n", u"sleep:60000"}, {u"c1.jpg", u"c2.jpg"}},
         {W::Fused, W::Stopped, W::NotRun},
         {u"Reihe 1 von 3: a1.jpg ... a2.jpg -> o1.jpg\r\n", LoadModuleString(IDS_TOOL_STOPPED),
          u"1 von 3 Reihen zusammengeführt. Abgebrochen: o2.jpg, o3.jpg.\r\n"},
         {P{F, 1, 3, 0.0, load(2), 1, 3}, P{F, 2, 3, 1.0 / 3, load(2), 2, 3},
          P{D, 2, 3, 1.0 / 3, done, 3, 3}}},
        {"a single photo is named first and not run",
         false,
         {{u"a1.jpg", u"a2.jpg"}, {u"IMG_0007.JPG"}, {u"c1.jpg", u"c2.jpg"}},
         {W::Fused, W::Single, W::Fused},
         {u"Nicht zusammengeführt (nur ein Foto): IMG_0007.JPG\r\n",
          u"Reihe 1 von 2: a1.jpg ... a2.jpg -> o1.jpg\r\n",
          u"Reihe 2 von 2: c1.jpg ... c2.jpg -> o3.jpg\r\n", u"2 von 2 Reihen zusammengeführt.\r\n"},
         {P{F, 1, 2, 0.0, load(2), 1, 2}, P{F, 2, 2, 0.5, load(2), 2, 2}, P{D, 2, 2, 1.0, done, 2, 2}}},
        {"a failed alignment asks nothing: that bracket is not fused",
         true,
         {{u"align:exit:2", u"a2.jpg"}, {u"b1.jpg", u"b2.jpg"}},
         {W::Failed, W::Fused},
         {u"Reihe 1 von 2: align:exit:2 ... a2.jpg -> o1.jpg\r\n", LoadModuleString(IDS_ALIGN_FAILED),
          u"Reihe 2 von 2: b1.jpg ... b2.jpg -> o2.jpg\r\n",
          u"1 von 2 Reihen zusammengeführt. Fehlgeschlagen: o1.jpg.\r\n"},
         {P{A, 1, 4, 0.0, pairs, 1, 2}, P{A, 3, 4, 0.0, pairs, 2, 2},
          P{F, 4, 4, AlignedFuseStart(2) / 2, load(2), 2, 2}, P{D, 4, 4, 0.5, done, 2, 2}}},
    };
    for (const Case& c : cases) {
        TempDir dir;
        SBatchJob batch{{kFake, 95, {}, c.bAlign ? kAlign : std::u16string()}, {}, {}};
        std::vector<std::u16string> wantWritten;
        for (size_t i = 0; i < c.brackets.size(); ++i) {
            batch.brackets.push_back({batch.job.photos.size(), c.brackets[i].size()});
            batch.job.photos.insert(batch.job.photos.end(), c.brackets[i].begin(), c.brackets[i].end());
            batch.outputs.push_back(c.want[i] == W::Single ? std::u16string() : dir.u16(OutputName(i)));
            if (c.want[i] == W::Fused)
                wantWritten.push_back(batch.outputs.back());
        }
        CRecorder recorder;
        const SBatchResult result = CBatchRun(platform::RealOs(), recorder).Run(batch);
        const std::string pane = platform::Utf16ToUtf8(recorder.m_pane);

        EXPECT_EQ(result.written, wantWritten) << c.name << ": " << pane;
        EXPECT_EQ(result.bStopped, c.want.back() == W::NotRun) << c.name;
        for (size_t i = 0; i < c.brackets.size(); ++i)
            EXPECT_EQ(fs::exists(dir.path() / OutputName(i)), c.want[i] == W::Fused)
                << c.name << ": bracket " << i + 1;
        EXPECT_TRUE(recorder.m_questions.empty()) << c.name;
        EXPECT_FALSE(recorder.m_bBusy) << c.name;
        EXPECT_EQ(recorder.m_progress, c.progress) << c.name;
        size_t pos = 0;
        for (const std::u16string& line : c.lines) {
            const size_t found = recorder.m_pane.find(line, pos);
            ASSERT_NE(found, std::u16string::npos)
                << c.name << ": " << platform::Utf16ToUtf8(line) << " in order in\n"
                << pane;
            pos = found + line.size();
        }
        // Message 109 once, after the summary and a blank line; a bracket not run has no line.
        const std::u16string close = LoadModuleString(IDS_CLOSE_WITH_OK);
        EXPECT_TRUE(recorder.m_pane.ends_with(c.lines.back() + u"\r\n" + close)) << c.name << ":\n" << pane;
        EXPECT_EQ(recorder.m_pane.find(close), recorder.m_pane.size() - close.size()) << c.name;
        size_t nRun = 0, nLines = 0;
        for (EWant w : c.want)
            nRun += w == W::Fused || w == W::Failed || w == W::Stopped;
        for (size_t at = recorder.m_pane.find(u"Reihe "); at != std::u16string::npos;
             at = recorder.m_pane.find(u"Reihe ", at + 1))
            ++nLines;
        EXPECT_EQ(nLines, nRun) << c.name << ": a line for each bracket run, none for one not run";
    }
}

// Brackets the batch cannot run (out of the selection, or without an output) are left out
// without a crash; a batch of nothing to fuse still ends with its summary and message 109.
TEST(BatchRun, NothingToFuse)
{
    SBatchJob batch{{kFake, 95, {u"a.jpg", u"b.jpg"}, {}}, {{0, 2}, {1, 5}, {7, 1}}, {u""}};
    CRecorder recorder;
    const SBatchResult result = CBatchRun(platform::RealOs(), recorder).Run(batch);
    EXPECT_TRUE(result.written.empty());
    EXPECT_FALSE(result.bStopped);
    EXPECT_EQ(recorder.m_pane,
              u"0 von 0 Reihen zusammengeführt.\r\n\r\n" + LoadModuleString(IDS_CLOSE_WITH_OK));
    EXPECT_EQ(recorder.m_progress,
              (std::vector<SRunProgress>{{ERunPhase::Done, 0, 0, 0.0, {EProgressStage::Done}}}));
}
} // namespace
