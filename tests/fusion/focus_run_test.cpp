// The mode of a bracket's job reaches both programs of its run (the fakes print what they got).
#include "fusion/bracket_run.h"
#include "fusion/tool_paths.h"
#include "platform/utf.h"
#include "tests/fusion/run_recorder.h"
#include "tests/support/file_util.h"

#include <gtest/gtest.h>

namespace {
using namespace lvp;
using namespace lvp::test;

TEST(BracketRun, ModeReachesBothPrograms)
{
    const std::u16string focus = u"--compression=95\n--exposure-weight=0\n--saturation-weight=0\n"
                                 u"--contrast-weight=1\n--hard-mask\n";
    struct Case {
        const char* name;
        EFusionMode mode;
        bool bAlign;
        std::vector<std::u16string> inPane, notInPane;
    } cases[] = {
        {"exposure",
         EFusionMode::Exposure,
         false,
         {u"--compression=95\nalign:args\n"},
         {u"--hard-mask", u"-weight"}},
        {"focus", EFusionMode::Focus, false, {focus + u"align:args\n"}, {}},
        {"exposure aligned", EFusionMode::Exposure, true, {u"-v\n-a\n"}, {u"--hard-mask", u"-m\n"}},
        {"focus aligned", EFusionMode::Focus, true, {u"-v\n-m\n--use-given-order\n-a\n", focus}, {}},
    };
    for (const Case& c : cases) {
        TempDir dir;
        CRecorder recorder;
        const std::vector<std::u16string> photos{u"align:args", u"args"};
        CToolPaths paths(platform::RealOs());
        std::u16string strFailed;
        ASSERT_TRUE(paths.Prepare(photos, dir.u16("out.jpg"), strFailed)) << c.name;
        const SBracketJob job{kFake, 95, photos, c.bAlign ? kAlign : std::u16string(), c.mode};
        EXPECT_EQ(CBracketRun(platform::RealOs(), recorder).Run(job, paths), ERunOutcome::Fused) << c.name;
        const std::u16string& pane = recorder.m_pane;
        for (const std::u16string& text : c.inPane)
            EXPECT_NE(pane.find(text), std::u16string::npos) << c.name << ":\n"
                                                             << platform::Utf16ToUtf8(pane);
        for (const std::u16string& text : c.notInPane)
            EXPECT_EQ(pane.find(text), std::u16string::npos) << c.name << ":\n"
                                                             << platform::Utf16ToUtf8(pane);
    }
}
} // namespace
