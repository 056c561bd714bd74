// Long use of the tool run: many runs in one process leave handles and heap as they were.
#include "fusion/command_line.h"
#include "platform/utf.h"
#include "resources/strings.h"
#include "tests/support/file_util.h"
#include "tests/support/process_usage.h"
#include "tests/ui/model/model_ui.h"
#include "tests/ui/test_os.h"
#include "ui/tool_run.h"

#include <gtest/gtest.h>

namespace {
#ifdef _WIN32
constexpr int kRuns = 200; // a process start under Wine takes tens of milliseconds
#else
constexpr int kRuns = 1000;
#endif

TEST(ToolRunScale, ManyRunsLeaveNoHandleAndNoMemory)
{
    lvp::CModelUi ui; // for the wait cursor
    const TempDir dir;
    const std::u16string output = dir.u16("out.jpg");
    std::unique_ptr<toolrun_test::CTestPane> pane = toolrun_test::MakeTestPane();
    const std::u16string fake = platform::Utf8ToUtf16(LVP_FAKE_TOOL);
    const std::u16string expected = u"line\nwarning\n\r\n" + lvp::LoadModuleString(109);
    auto run = [&] {
        return lvp::RunAndShowOutput(
                   pane->m_edit, lvp::BuildToolCommand(fake, output, 95, {u"out:line\\n", u"err:warning\\n"}),
                   {platform::RealOs(), ui, output, nullptr}) == lvp::ERunOutcome::Fused &&
               pane->m_edit.GetText() == expected;
    };
    for (int i = 0; i < 3; ++i) // the first runs may set up lasting system state
        ASSERT_TRUE(run());
    const std::size_t handles = lvp::test::OpenHandleCount();
    const std::size_t heap = lvp::test::HeapBytesInUse();
    const int n = lvp::test::RepeatCount("LVP_SCALE_TOOL_RUNS", kRuns);
    int wrong = 0;
    for (int i = 0; i < n; ++i) {
        if (!run()) {
            if (++wrong == 1) // the first wrong run, as it looked
                ADD_FAILURE() << platform::Utf16ToUtf8(pane->m_edit.GetText());
        }
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(lvp::test::OpenHandleCount(), handles);
    // Fewer than 16 bytes a run: one object left behind by every run shows.
    const std::size_t after = lvp::test::HeapBytesInUse();
    EXPECT_LE(after, heap + 16 * static_cast<std::size_t>(n)) << "heap before " << heap << ", after " << after;
    std::printf("%d runs: handles %zu -> %zu, heap %zu -> %zu bytes\n", n, handles, lvp::test::OpenHandleCount(),
                heap, after);
    EXPECT_EQ(ui.m_cursor.m_nDepth, 0);
}
} // namespace
