// The fusion dialog's alignment over the in-memory window system: when the box is offered, and
// the run with a stand-in align_image_stack beside a stand-in enfuse.
#include "fusion/tool_paths.h"
#include "platform/utf.h"
#include "resources/ids.h"
#include "resources/strings.h"
#include "platform/real_os.h"
#include "platform/temp_name.h"
#include "tests/support/file_util.h"
#include "tests/support/search_os.h"
#include "tests/ui/model/model_ui.h"
#include "ui/sample_dlg.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {
using namespace lvp;
namespace fs = std::filesystem;
using Step = CModelUi::Step;

const std::u16string kHugin = platform::Utf8ToUtf16(LVP_FAKE_HUGIN_ENFUSE); // align_image_stack beside it
const std::u16string kFake = platform::Utf8ToUtf16(LVP_FAKE_TOOL);           // nothing beside it
const std::u16string kAlignOnPath = kHugin.substr(0, kHugin.find_last_of(u"\\/") + 1) +
                                    platform::RealOs().ExecutableFileName(u"align_image_stack");


Step Click(int nId)
{
    return [nId](CModelDialog& d) { d.Click(nId); };
}
const Step kOk = Click(IDC_OK);

class AlignDlg : public ::testing::Test {
protected:
    std::intptr_t Run(std::vector<Step> steps, const std::u16string& program, bool bAlign,
                      std::vector<std::u16string> inputs)
    {
        m_inputs = std::move(inputs);
        m_selection.clear();
        for (const std::u16string& input : m_inputs)
            m_selection.push_back(input.c_str());
        std::error_code ec;
        fs::remove(m_dir / "a-c.jpg", ec);
        m_ui.m_steps.assign(steps.begin(), steps.end());
        m_pDlg = std::make_unique<CSampleDlg>(m_os, m_ui, &m_selection, nullptr);
        m_pDlg->m_strEnfusePath = program;
        m_pDlg->m_strOutputFile = (m_dir / "a-c.jpg").u16string();
        m_pDlg->m_bAlignImages = bAlign;
        return m_pDlg->DoModal();
    }
    SModelDialog& State() { return *m_ui.LastDialog(); }
    std::u16string Pane() { return State().Find(IDC_OUTPUT_PANE)->strText; }
    // What the runs of this process left in the temporary folder.
    std::vector<fs::path> Leftovers()
    {
        const std::string prefix =
            platform::Utf16ToUtf8(platform::UniqueName(CToolPaths::kPrefix, u"", m_os.CurrentProcessId()).substr(0, 17));
        std::vector<fs::path> out;
        for (const fs::directory_entry& e : fs::directory_iterator(fs::path(m_os.TempFolder()))) {
            if (e.path().filename().string().starts_with(prefix))
                out.push_back(e.path());
        }
        return out;
    }

    CSearchOs m_os; // PATH as the case says, no install folders
    CModelUi m_ui;
    std::vector<std::u16string> m_inputs;
    std::vector<std::u16string> m_selection;
    std::unique_ptr<CSampleDlg> m_pDlg;
    const TempDir m_temp;
    const fs::path m_dir = m_temp.path();
};

TEST_F(AlignDlg, BoxIsOfferedWhenTheProgramIsBesideEnfuseOrOnPath)
{
    struct Case {
        const char* name;
        std::u16string program, onPath;
        bool bWish, bEnabled, bChecked;
    } cases[] = {
        {"beside enfuse", kHugin, u"", true, true, true},
        {"beside, turned off before", kHugin, u"", false, true, false},
        {"nowhere", kFake, u"", true, false, false},
        {"on PATH", kFake, kAlignOnPath, true, true, true},
        {"no program path, on PATH", u"", kAlignOnPath, true, true, true},
        {"no program path", u"", u"", true, false, false},
    };
    for (const Case& c : cases) {
        m_os.onPath = c.onPath;
        SModelControl box;
        Run({[&](CModelDialog& d) {
                 box = *d.State().Find(IDC_ALIGN_IMAGES);
                 d.PressEscape();
             }},
            c.program, c.bWish, {u"a", u"b"});
        EXPECT_EQ(box.bEnabled, c.bEnabled) << c.name;
        EXPECT_EQ(box.bChecked, c.bChecked) << c.name;
        EXPECT_EQ(box.strText, u"Bilder vor dem Zusammenf\u00fchren ausrichten") << c.name;
        EXPECT_EQ(m_pDlg->m_bAlignOffered, c.bEnabled) << c.name;
        EXPECT_EQ(m_pDlg->m_bAlignImages, c.bWish) << c.name;
    }
}

// Durchsuchen... and OK look again; the user's choice survives a program without the box.
TEST_F(AlignDlg, SearchAgainAfterBrowseAndOnOk)
{
    SModelControl afterFake, afterBack;
    m_ui.m_fileAnswers = {kFake, kHugin};
    Run({Click(IDC_ALIGN_IMAGES), Click(IDC_BROWSE),
         [&](CModelDialog& d) {
             afterFake = *d.State().Find(IDC_ALIGN_IMAGES);
             d.Click(IDC_ALIGN_IMAGES); // disabled: no toggle
         },
         Click(IDC_BROWSE),
         [&](CModelDialog& d) {
             afterBack = *d.State().Find(IDC_ALIGN_IMAGES);
             d.PressEscape();
         }},
        kHugin, true, {u"a", u"b"});
    EXPECT_FALSE(afterFake.bEnabled);
    EXPECT_FALSE(afterFake.bChecked);
    EXPECT_TRUE(afterBack.bEnabled);
    EXPECT_FALSE(afterBack.bChecked) << "turned off before the detour";
    EXPECT_FALSE(m_pDlg->m_bAlignImages);

    // A program path typed into the field counts on OK: the run aligns.
    EXPECT_EQ(Run({[](CModelDialog& d) { d.Type(IDC_PROGRAM, kHugin); }, kOk, kOk}, kFake, true,
                  {u"out:A\\n", u"align:out:richte aus\\n"}),
              1);
    EXPECT_NE(Pane().find(u"richte aus\n"), std::u16string::npos) << platform::Utf16ToUtf8(Pane());
    EXPECT_TRUE(m_pDlg->m_bAlignOffered);
}

// The run: the alignment's output, then enfuse over the aligned images (in input order), or the
// note, the question, and enfuse over the selected photos; nothing of the run is left behind.
TEST_F(AlignDlg, RunAlignsOrAsksToFuseUnaligned)
{
    const std::u16string kDone = LoadModuleString(IDS_CLOSE_WITH_OK);
    const std::u16string kFailed = LoadModuleString(IDS_ALIGN_FAILED);
    struct Case {
        const char* name;
        std::vector<std::u16string> inputs;
        std::deque<bool> answers;
        bool bEscapeInRun;
        ERunOutcome outcome;
        bool bAsked;
        std::vector<std::u16string> inPane, notInPane;
    } cases[] = {
        {"aligned",
         {u"out:A\\n", u"align:out:richte aus\\n", u"align:args", u"args", u"out:B\\n"},
         {},
         false,
         ERunOutcome::Fused,
         false,
         {u"richte aus\n", u"A\n", u"B\n", u"aligned0000.tif", u"aligned0004.tif", u"-C"},
         {kFailed}},
        {"fails, fused unaligned (Yes, the default)",
         {u"out:A\\n", u"align:exit:1", u"args"},
         {},
         false,
         ERunOutcome::Fused,
         true,
         {kFailed + u"\r\n" + LoadModuleString(IDS_ALIGN_UNALIGNED) + u"\r\n", u"A\n", u"align:exit:1\n"},
         {u"aligned0000.tif"}},
        {"fails, No",
         {u"out:A\\n", u"align:exit:1"},
         {false},
         false,
         ERunOutcome::Failed,
         true,
         {kFailed + u"\r\n\r\n" + kDone},
         {u"A\n", LoadModuleString(IDS_ALIGN_UNALIGNED)}},
        {"an aligned image missing",
         {u"out:A\\n", u"align:nofiles"},
         {false},
         false,
         ERunOutcome::Failed,
         true,
         {kFailed},
         {u"A\n"}},
        {"stopped during the alignment",
         {u"out:A\\n", u"align:sleep:600000"},
         {},
         true,
         ERunOutcome::Stopped,
         false,
         {LoadModuleString(IDS_TOOL_STOPPED) + u"\r\n\r\n" + kDone},
         {u"A\n"}},
        {"a stray file in the program's folder",
         {u"out:A\\n", u"align:touch:stray.txt"},
         {},
         false,
         ERunOutcome::Fused,
         false,
         {u"A\n"},
         {}},
    };
    for (const Case& c : cases) {
        m_ui.m_messages.clear();
        m_ui.m_yesNoAnswers = c.answers;
        m_ui.m_runSteps.clear();
        if (c.bEscapeInRun)
            m_ui.m_runSteps = {[](CModelDialog&) {}, [](CModelDialog& d) { d.PressEscape(); }};
        EXPECT_EQ(Run({kOk, kOk}, kHugin, true, c.inputs), 1) << c.name;
        EXPECT_EQ(m_pDlg->m_outcome, c.outcome) << c.name;
        const std::u16string pane = Pane();
        for (const std::u16string& text : c.inPane)
            EXPECT_NE(pane.find(text), std::u16string::npos) << c.name << ": " << platform::Utf16ToUtf8(text)
                                                             << "\n" << platform::Utf16ToUtf8(pane);
        for (const std::u16string& text : c.notInPane)
            EXPECT_EQ(pane.find(text), std::u16string::npos) << c.name << ": " << platform::Utf16ToUtf8(text);
        EXPECT_TRUE(pane.ends_with(kDone)) << c.name;
        ASSERT_EQ(m_ui.m_messages.size(), c.bAsked ? 1u : 0u) << c.name;
        if (c.bAsked) {
            EXPECT_EQ(m_ui.m_messages[0].strText, LoadModuleString(IDS_ALIGN_ASK_UNALIGNED));
            EXPECT_EQ(m_ui.m_messages[0].buttons, EMessageButtons::YesNoDefaultYes);
        }
        EXPECT_EQ(fs::exists(m_dir / "a-c.jpg"), c.outcome == ERunOutcome::Fused) << c.name;
        EXPECT_TRUE(Leftovers().empty()) << c.name << ": " << Leftovers().front();
        EXPECT_FALSE(fs::exists("stray.txt")) << c.name << ": the host's folder got it";
    }
}

// Unchecked, or without the program: the fusion alone, as the dialog always ran it.
TEST_F(AlignDlg, UncheckedOrUnavailableRunsTheFusionAlone)
{
    for (const std::u16string& program : {kHugin, kFake}) {
        EXPECT_EQ(Run({kOk, kOk}, program, program == kFake, {u"out:A\\n", u"align:out:X\\n", u"args"}), 1);
        EXPECT_EQ(m_pDlg->m_outcome, ERunOutcome::Fused);
        const std::u16string pane = Pane();
        EXPECT_EQ(pane.find(u"X\n"), std::u16string::npos);
        EXPECT_NE(pane.find(u"--compression=95\nout:A\\n\nalign:out:X\\n\nargs\n"), std::u16string::npos)
            << platform::Utf16ToUtf8(pane);
    }
}
} // namespace
