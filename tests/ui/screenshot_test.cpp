// Run by screenshot.sh under Wine: a visible pane that holds the first lines while the tool
// waits, so that a screenshot taken then shows what the user sees during the run.
#include "fusion/command_line.h"
#include "platform/utf.h"
#include "tests/ui/model/model_ui.h"
#include "tests/ui/test_os.h"
#include "ui/tool_run.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {
TEST(ToolRunOnScreen, LiveOutput)
{
    const std::u16string fake = platform::Utf8ToUtf16(LVP_FAKE_TOOL);
    const char* dir = std::getenv("LVP_SHOT_DIR");
    ASSERT_NE(dir, nullptr);
    const std::u16string ready = platform::Utf8ToUtf16(std::string(dir) + "/ready");
    const std::u16string go = platform::Utf8ToUtf16(std::string(dir) + "/go");
    auto pane = toolrun_test::MakeTestPane(true);
    std::vector<std::u16string> steps = {u"out:enfuse 4.2 (Testlauf)\\r\\n",
                                         u"err:Warnung: Datei ohne EXIF-Daten\\r\\n",
                                         u"lines:3",
                                         u"touch:" + ready,
                                         u"wait:" + go,
                                         u"out:Fertig.\\r\\n"};
    std::vector<std::u16string> selection;
    for (const auto& s : steps)
        selection.push_back(s.c_str());
    lvp::CModelUi ui; // for the wait cursor
    const std::u16string output = platform::Utf8ToUtf16(std::string(dir) + "/out.jpg");
    lvp::RunAndShowOutput(pane->m_edit, lvp::BuildToolCommand(fake, output, 95, selection),
                          {platform::RealOs(), ui, output, nullptr});
    std::u16string text = pane->m_edit.GetText();
    EXPECT_EQ(text.find(u"timeout"), std::u16string::npos);
    EXPECT_NE(text.find(u"Fertig."), std::u16string::npos);
}
} // namespace
