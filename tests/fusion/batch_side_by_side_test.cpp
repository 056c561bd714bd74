// Brackets of a batch side by side against the fake programs: they really overlap, the pane
// keeps each block whole in bracket order, a stop ends every running one, a failure leaves the
// others; how many run at once as the machine and the photos' sizes allow.
#include "fusion/batch_run.h"
#include "platform/real_os.h"
#include "resources/ids.h"
#include "resources/strings.h"
#include "tests/fusion/run_recorder.h"
#include "tests/metadata/fixtures.h"
#include "tests/support/file_util.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {
using namespace lvp;
using namespace lvp::test;

enum class EWant { Fused, Failed, Stopped, NotRun };

// A batch of brackets in dir, each bracket's photos (the fake's script) given; outputs o1.jpg, ...
SBatchJob MakeBatch(const TempDir& dir, const std::vector<std::vector<std::u16string>>& brackets)
{
    SBatchJob batch{{kFake, 95, {}, {}}, {}, {}};
    for (size_t i = 0; i < brackets.size(); ++i) {
        batch.brackets.push_back({batch.job.photos.size(), brackets[i].size()});
        batch.job.photos.insert(batch.job.photos.end(), brackets[i].begin(), brackets[i].end());
        std::string name = "o";
        name += std::to_string(i + 1);
        batch.outputs.push_back(dir.u16(name + ".jpg"));
    }
    return batch;
}

// The progress never goes back and is Done once, at the end.
void ExpectProgressForward(const std::vector<SRunProgress>& progress, const char* name)
{
    ASSERT_FALSE(progress.empty()) << name;
    for (size_t i = 0; i < progress.size(); ++i) {
        EXPECT_EQ(progress[i].phase == ERunPhase::Done, i + 1 == progress.size()) << name << ": report " << i;
        if (i > 0) {
            EXPECT_GE(progress[i].fraction, progress[i - 1].fraction) << name << ": report " << i;
            EXPECT_GE(progress[i].nStep, progress[i - 1].nStep) << name << ": report " << i;
        }
    }
}

TEST(BatchSideBySide, OverlapBlocksInOrderStopAndFailure)
{
    using W = EWant;
    TempDir dir;
    const std::u16string flag = dir.u16("flag");
    const std::u16string wait = u"wait:" + flag, touch = u"touch:" + flag;
    const std::u16string stopped = LoadModuleString(IDS_TOOL_STOPPED);
    struct Case {
        const char* name;
        std::vector<std::vector<std::u16string>> brackets;
        std::vector<EWant> want;
        std::vector<std::u16string> pieces; // in the pane in this order; none else between lines
    } cases[] = {
        // The first waits for a file the second makes: one after the other it would time out.
        // The second ends first; its block follows the first one's whole.
        {"the second's block waits for the first's end",
         {{wait, u"out:one\\n", u"sleep:300"}, {touch, u"out:two\\n"}},
         {W::Fused, W::Fused},
         {u"Reihe 1 von 2:", u"one\n", u"Reihe 2 von 2:", u"two\n", u"2 von 2 Reihen zusammengeführt.\r\n"}},
        {"a third starts when the second ends and is shown after it",
         {{wait, u"sleep:600", u"out:one\\n"}, {touch, u"out:two\\n"}, {u"out:three\\n", u"c2.jpg"}},
         {W::Fused, W::Fused, W::Fused},
         {u"Reihe 1 von 3:", u"one\n", u"Reihe 2 von 3:", u"two\n", u"Reihe 3 von 3:", u"three\n",
          u"3 von 3 Reihen zusammengeführt.\r\n"}},
        {"a failure beside a success",
         {{wait, u"out:one\\n", u"exit:3"}, {touch, u"out:two\\n"}},
         {W::Failed, W::Fused},
         {u"Reihe 1 von 2:", u"one\n", LoadModuleString(IDS_TOOL_FAILED).substr(0, 20), u"Reihe 2 von 2:",
          u"two\n", u"1 von 2 Reihen zusammengeführt. Fehlgeschlagen: o1.jpg.\r\n"}},
        // Both have written a partial output when the stop comes; the third never starts.
        {"a stop ends both running brackets",
         {{u"output", wait, u"out:STOP\\x4dE\\n", u"sleep:60000"},
          {u"output", touch, u"out:two\\n", u"sleep:60000"},
          {u"c1.jpg", u"c2.jpg"}},
         {W::Stopped, W::Stopped, W::NotRun},
         {u"Reihe 1 von 3:", u"STOPME\n", stopped, u"Reihe 2 von 3:", u"two\n", stopped,
          u"0 von 3 Reihen zusammengeführt. Abgebrochen: o1.jpg, o2.jpg, o3.jpg.\r\n"}},
    };
    for (const Case& c : cases) {
        SBatchJob batch = MakeBatch(dir, c.brackets);
        fs::remove(dir.path() / "flag");
        for (const std::u16string& output : batch.outputs)
            fs::remove(fs::path(output)); // one there before would stay
        std::vector<std::u16string> wantWritten;
        for (size_t i = 0; i < c.want.size(); ++i) {
            if (c.want[i] == W::Fused)
                wantWritten.push_back(batch.outputs[i]);
        }
        CRecorder recorder;
        const auto start = std::chrono::steady_clock::now();
        const SBatchResult result = CBatchRun(platform::RealOs(), recorder, {.nAtOnce = 2}).Run(batch);
        const auto took = std::chrono::steady_clock::now() - start;
        const std::string pane = platform::Utf16ToUtf8(recorder.m_pane);

        EXPECT_EQ(result.nAtOnce, 2u) << c.name;
        EXPECT_EQ(result.written, wantWritten) << c.name << ":\n" << pane;
        EXPECT_EQ(result.bStopped, c.want.back() == W::NotRun) << c.name;
        EXPECT_LT(took, std::chrono::seconds(15)) << c.name;
        EXPECT_EQ(recorder.m_pane.find(u"timeout"), std::u16string::npos)
            << c.name << ": they did not overlap";
        for (size_t i = 0; i < c.want.size(); ++i)
            EXPECT_EQ(fs::exists(batch.outputs[i]), c.want[i] == W::Fused) << c.name << ": bracket " << i + 1;
        EXPECT_FALSE(recorder.m_bBusy) << c.name;
        EXPECT_EQ(recorder.m_nBusyChanges, 2) << c.name << ": one wait cursor over the overlapping runs";
        ExpectProgressForward(recorder.m_progress, c.name);
        size_t pos = 0;
        for (const std::u16string& piece : c.pieces) {
            const size_t found = recorder.m_pane.find(piece, pos);
            ASSERT_NE(found, std::u16string::npos)
                << c.name << ": " << platform::Utf16ToUtf8(piece) << " in order in\n"
                << pane;
            pos = found + piece.size();
        }
        EXPECT_EQ(recorder.m_pane.find(u"Reihe 3", 0) == std::u16string::npos,
                  c.want.size() < 3 || c.want[2] == W::NotRun)
            << c.name << ": a bracket not started has no line";
        EXPECT_TRUE(recorder.m_pane.ends_with(u"\r\n\r\n" + LoadModuleString(IDS_CLOSE_WITH_OK))) << c.name;
    }
}

// The machine as a test wants it: its processors and free memory.
class CMachineOs final : public platform::CRealOs {
public:
    CMachineOs(unsigned nProcessors, uint64_t nMemory) : m_nProcessors(nProcessors), m_nMemory(nMemory) {}
    unsigned ProcessorCount() const override { return m_nProcessors; }
    uint64_t AvailableMemory() const override { return m_nMemory; }

private:
    unsigned m_nProcessors;
    uint64_t m_nMemory;
};

// Two brackets of three 12-megapixel JPEGs (their headers say so), about 0.6 GB each by the
// estimate: how many the batch lets run at once.
TEST(BatchSideBySide, AsManyAtOnceAsTheMachineAllows)
{
    constexpr uint64_t kGiB = uint64_t{1} << 30;
    struct Case {
        const char* name;
        unsigned nProcessors;
        uint64_t nMemory;
        unsigned nOption; // SBatchOptions::nAtOnce
        bool bMissingPhoto;
        unsigned nWant;
    } cases[] = {
        {"room for both", 4, 8 * kGiB, 0, false, 2},
        {"memory for one only", 4, kGiB, 0, false, 1},
        {"memory unknown", 4, 0, 0, false, 1},
        {"one processor", 1, 8 * kGiB, 0, false, 1},
        {"a photo's size unknown", 4, 8 * kGiB, 0, true, 1},
        {"chosen: no more than there are brackets", 1, 0, 3, true, 2},
        {"chosen: one", 4, 8 * kGiB, 1, false, 1},
    };
    TempDir dir;
    const std::string jpeg = [] {
        const metadata::test::Bytes bytes = metadata::test::MakeJpeg({}, 4000, 3000);
        return std::string(bytes.begin(), bytes.end());
    }();
    std::vector<std::vector<std::u16string>> brackets(2);
    for (int i = 0; i < 6; ++i) {
        std::string name = "p";
        name.append(std::to_string(i))
            .append(".jpg"); // MinGW's g++ 12 warns falsely of a literal plus a string
        WriteBytes(dir.path() / name, jpeg);
        brackets[i / 3].push_back(dir.u16(name));
    }
    for (const Case& c : cases) {
        SBatchJob batch = MakeBatch(dir, brackets);
        if (c.bMissingPhoto)
            batch.job.photos[4] = dir.u16("missing.jpg");
        CRecorder recorder;
        const CMachineOs os(c.nProcessors, c.nMemory);
        const SBatchResult result = CBatchRun(os, recorder, {.nAtOnce = c.nOption}).Run(batch);
        EXPECT_EQ(result.nAtOnce, c.nWant) << c.name;
        EXPECT_EQ(result.written, batch.outputs) << c.name << ":\n" << platform::Utf16ToUtf8(recorder.m_pane);
    }
}
} // namespace
