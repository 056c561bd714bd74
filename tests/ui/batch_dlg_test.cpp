// The fusion dialog over a selection of several brackets, on the in-memory window system: when
// box 1019 is offered, the proposal that follows it, the checks on OK and the batch's run.
#include "platform/real_os.h"
#include "platform/utf.h"
#include "resources/ids.h"
#include "resources/strings.h"
#include "tests/support/file_util.h"
#include "tests/ui/model/model_ui.h"
#include "ui/sample_dlg.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {
using namespace lvp;
namespace fs = std::filesystem;
using Step = CModelUi::Step;

const std::u16string kFake = platform::Utf8ToUtf16(LVP_FAKE_TOOL);
const std::u16string kBox = u"Jede Reihe einzeln zusammenf\u00fchren";

Step Click(int nId)
{
    return [nId](CModelDialog& d) { d.Click(nId); };
}
const Step kOk = Click(IDC_OK);

class BatchDlg : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const std::u16string& photo : m_selection)
            WriteBytes(fs::path(photo), "x");
    }
    // Photos a1 a2 a3 b1 b2 c1 in the test's folder; the field proposes a1-c1.jpg as the command does.
    std::intptr_t Run(std::vector<Step> steps, std::vector<SBracket> brackets, bool bEach = true)
    {
        m_ui.m_steps.assign(steps.begin(), steps.end());
        m_pDlg = std::make_unique<CSampleDlg>(platform::RealOs(), m_ui, &m_selection, nullptr);
        m_pDlg->m_strEnfusePath = kFake;
        m_pDlg->m_strOutputFile = Path("a1-c1.jpg");
        m_pDlg->m_brackets = std::move(brackets);
        m_pDlg->m_bFuseEachBracket = bEach;
        return m_pDlg->DoModal();
    }
    std::u16string Path(const char* name) const { return (m_dir / name).u16string(); }
    SModelDialog& State() { return *m_ui.LastDialog(); }
    std::u16string Field() { return State().Find(IDC_OUTPUT_FILE)->strText; }

    CModelUi m_ui;
    const TempDir m_temp;
    const fs::path m_dir = m_temp.path();
    std::vector<std::u16string> m_selection{Path("a1.jpg"), Path("a2.jpg"), Path("a3.jpg"),
                                            Path("b1.jpg"), Path("b2.jpg"), Path("c1.jpg")};
    std::unique_ptr<CSampleDlg> m_pDlg;
};

TEST_F(BatchDlg, BoxOfferedWithTheCountWhereTwoBracketsCanBeFused)
{
    const std::vector<SBracket> two{{0, 3}, {3, 2}, {5, 1}}, three{{0, 2}, {2, 2}, {4, 2}};
    struct Case {
        const char* name;
        std::vector<SBracket> brackets;
        bool bEach;
        bool bEnabled, bChecked;
        std::u16string text;
        const char* field;
    } cases[] = {
        {"two fusible and a single photo", two, true, true, true, kBox + u" (2 Reihen erkannt)", "a1-a3.jpg"},
        {"three, turned off before", three, false, true, false, kBox + u" (3 Reihen erkannt)", "a1-c1.jpg"},
        {"three, the first bracket's name", three, true, true, true, kBox + u" (3 Reihen erkannt)",
         "a1-a2.jpg"},
        {"one bracket", {{0, 6}}, true, false, false, kBox, "a1-c1.jpg"},
        {"one fusible, the rest single", {{0, 1}, {1, 4}, {5, 1}}, true, false, false, kBox, "a1-c1.jpg"},
        {"not grouped", {}, true, false, false, kBox, "a1-c1.jpg"},
    };
    for (const Case& c : cases) {
        SModelControl box;
        std::u16string field;
        Run({[&](CModelDialog& d) {
                box = *d.State().Find(IDC_FUSE_EACH);
                field = d.State().Find(IDC_OUTPUT_FILE)->strText;
                d.PressEscape();
            }},
            c.brackets, c.bEach);
        EXPECT_EQ(box.bEnabled, c.bEnabled) << c.name;
        EXPECT_EQ(box.bChecked, c.bChecked) << c.name;
        EXPECT_EQ(box.strText, c.text) << c.name;
        EXPECT_EQ(field, Path(c.field)) << c.name;
        EXPECT_EQ(m_pDlg->m_bFuseEachOffered, c.bEnabled) << c.name;
        EXPECT_EQ(m_pDlg->m_bFuseEachBracket, c.bEach) << c.name << ": a cancel keeps the wish";
    }
}

// Toggling the box swaps the proposal, unless the user has made the field's text their own.
TEST_F(BatchDlg, ProposalFollowsTheBoxUntilEdited)
{
    std::vector<std::u16string> seen;
    const Step look = [&](CModelDialog& d) { seen.push_back(d.State().Find(IDC_OUTPUT_FILE)->strText); };
    Run({look, Click(IDC_FUSE_EACH), look, Click(IDC_FUSE_EACH), look,
         [&](CModelDialog& d) { d.Type(IDC_OUTPUT_FILE, Path("mine.jpg")); }, Click(IDC_FUSE_EACH), look,
         Click(IDC_FUSE_EACH), look, [](CModelDialog& d) { d.PressEscape(); }},
        {{0, 3}, {3, 3}});
    const std::vector<std::u16string> want{Path("a1-a3.jpg"), Path("a1-c1.jpg"), Path("a1-a3.jpg"),
                                           Path("mine.jpg"), Path("mine.jpg")};
    EXPECT_EQ(seen, want);
}

// OK runs every bracket into its own output, beside the field's, and the box goes with the other
// inputs for the run.
TEST_F(BatchDlg, EachBracketIntoItsOwnOutput)
{
    SModelControl box;
    ASSERT_EQ(Run({kOk,
                   [&](CModelDialog& d) {
                       box = *d.State().Find(IDC_FUSE_EACH);
                       d.Click(IDC_OK);
                   }},
                  {{0, 3}, {3, 2}, {5, 1}}),
              1);
    const std::vector<std::u16string> want{Path("a1-a3.jpg"), Path("b1-b2.jpg")};
    EXPECT_EQ(m_pDlg->m_written, want);
    EXPECT_EQ(m_pDlg->m_outcome, ERunOutcome::Fused);
    // Every bracket that was to be fused was: the bar at its end, in the normal state.
    EXPECT_EQ(State().Find(IDC_PROGRESS)->nPos, kProgressRange);
    EXPECT_EQ(State().Find(IDC_PROGRESS)->progressState, EProgressState::Normal);
    for (const std::u16string& output : want)
        EXPECT_TRUE(fs::exists(fs::path(output))) << platform::Utf16ToUtf8(output);
    EXPECT_FALSE(box.bEnabled);
    EXPECT_EQ(box.rect, (SRect{-1, -1, -1, -1}));
    const std::u16string pane = State().Find(IDC_OUTPUT_PANE)->strText;
    EXPECT_NE(pane.find(u"Nicht zusammengef\u00fchrt (nur ein Foto): c1.jpg\r\n"), std::u16string::npos);
    EXPECT_NE(pane.find(u"Reihe 2 von 2: b1.jpg ... b2.jpg -> b1-b2.jpg\r\n"), std::u16string::npos);
    EXPECT_NE(pane.find(u"2 von 2 Reihen zusammengef\u00fchrt."), std::u16string::npos)
        << platform::Utf16ToUtf8(pane);
}

// A bracket that fails does not stop the others; the bar stops short of its end in the error
// state and says so, as does a stop.
TEST_F(BatchDlg, AFailedBracketLeavesTheBarInTheErrorState)
{
    // The fake tool runs the step a photo names as "aligned:STEP": b1 makes bracket b fail.
    WriteBytes(fs::path(Path("b1.jpg")), "aligned:exit:2\n");
    ASSERT_EQ(Run({kOk, kOk}, {{0, 3}, {3, 2}, {5, 1}}), 1);
    EXPECT_EQ(m_pDlg->m_written, std::vector<std::u16string>{Path("a1-a3.jpg")});
    EXPECT_EQ(m_pDlg->m_outcome, ERunOutcome::Fused) << "one output was written";
    EXPECT_FALSE(fs::exists(fs::path(Path("b1-b2.jpg"))));
    const SModelControl& bar = *State().Find(IDC_PROGRESS);
    EXPECT_EQ(bar.progressState, EProgressState::Error);
    EXPECT_GT(bar.nPos, 0);
    EXPECT_LT(bar.nPos, kProgressRange);
    EXPECT_EQ(bar.strText.rfind(u"Fehler", 0), 0u) << platform::Utf16ToUtf8(bar.strText);
    const std::u16string pane = State().Find(IDC_OUTPUT_PANE)->strText;
    EXPECT_NE(pane.find(u"1 von 2 Reihen zusammengef\u00fchrt. Fehlgeschlagen: b1-b2.jpg."), std::u16string::npos)
        << platform::Utf16ToUtf8(pane);
}

// Turned off, the selection is one bracket as without the box: one run, one output.
TEST_F(BatchDlg, TurnedOffTheWholeSelectionIsOneRun)
{
    ASSERT_EQ(Run({Click(IDC_FUSE_EACH), kOk, kOk}, {{0, 3}, {3, 3}}), 1);
    EXPECT_EQ(m_pDlg->m_written, std::vector<std::u16string>{Path("a1-c1.jpg")});
    EXPECT_FALSE(m_pDlg->m_bFuseEachBracket);
    EXPECT_EQ(State().Find(IDC_OUTPUT_PANE)->strText.find(u"Reihe "), std::u16string::npos);
}

// Every output is checked before anything runs; the outputs that exist are asked about once.
TEST_F(BatchDlg, OkChecksEveryOutput)
{
    struct Case {
        const char* name;
        std::vector<const char*> files, folders; // made before OK
        std::vector<bool> answers;
        std::u16string field;   // typed into the field, if not empty
        std::u16string message; // the one message box other than the question, if any
        bool bRuns;
    } cases[] = {
        {"nothing there", {}, {}, {}, u"", u"", true},
        {"two there, replaced", {"a1-a3.jpg", "b1-b2.jpg"}, {}, {true}, u"", u"", true},
        {"the second there, kept", {"b1-b2.jpg"}, {}, {false}, u"", u"", false},
        {"the field names a photo", {}, {}, {}, m_selection[3], LoadModuleString(IDS_OUTPUT_IS_INPUT), false},
        {"a further output is a folder",
         {},
         {"b1-b2.jpg"},
         {},
         u"",
         LoadModuleString(IDS_OUTPUT_FOLDER_MISSING),
         false},
    };
    for (const Case& c : cases) {
        for (const char* name : {"a1-a3.jpg", "b1-b2.jpg"})
            fs::remove_all(m_dir / name);
        std::vector<std::u16string> existing;
        for (const char* name : c.files) {
            WriteBytes(m_dir / name, "old");
            existing.push_back(Path(name));
        }
        for (const char* name : c.folders)
            fs::create_directory(m_dir / name);
        m_ui.m_messages.clear();
        m_ui.m_yesNoAnswers.assign(c.answers.begin(), c.answers.end());
        std::vector<Step> steps;
        if (!c.field.empty())
            steps.push_back([&](CModelDialog& d) { d.Type(IDC_OUTPUT_FILE, c.field); });
        steps.push_back(kOk);
        steps.push_back([](CModelDialog& d) { d.PressEscape(); });
        Run(steps, {{0, 3}, {3, 2}});
        EXPECT_EQ(m_pDlg->m_bRunDone, c.bRuns) << c.name;
        std::vector<std::u16string> messages;
        for (const SModelMessage& m : m_ui.m_messages)
            messages.push_back(m.strText);
        std::vector<std::u16string> want;
        if (!existing.empty())
            want.push_back(FormatModuleList(IDS_BATCH_OUTPUTS_EXIST, existing));
        if (!c.message.empty())
            want.push_back(c.message);
        EXPECT_EQ(messages, want) << c.name;
        EXPECT_EQ(m_pDlg->m_written.size(), c.bRuns ? 2u : 0u) << c.name;
    }
}
} // namespace

namespace {
// The sizes the command read with the capture data are the ones OK checks: the photos' heads are
// not read again (here they are no photos at all). A size apart splits the brackets, so only one
// can be fused and the whole selection is checked.
TEST_F(BatchDlg, SizesFromTheCaptureData)
{
    m_ui.m_steps.assign({kOk, [](CModelDialog& d) { d.PressEscape(); }});
    m_pDlg = std::make_unique<CSampleDlg>(platform::RealOs(), m_ui, &m_selection, nullptr);
    m_pDlg->m_strEnfusePath = kFake;
    m_pDlg->m_strOutputFile = Path("a1-c1.jpg");
    m_pDlg->m_captureData.resize(m_selection.size());
    for (metadata::SCaptureData& data : m_pDlg->m_captureData)
        data.size = metadata::SImageSize{6000, 4000};
    m_pDlg->m_captureData[4].size = metadata::SImageSize{4000, 6000};
    m_pDlg->DoModal();
    EXPECT_FALSE(m_pDlg->m_bFuseEachOffered);
    ASSERT_EQ(m_ui.m_messages.size(), 1u);
    EXPECT_EQ(m_ui.m_messages[0].strText,
              FormatModuleList(IDS_PHOTOS_SIZES_DIFFER,
                               {u"a1.jpg: 6000 \u00d7 4000", u"b2.jpg: 4000 \u00d7 6000"}));
    EXPECT_FALSE(m_pDlg->m_bRunDone);
}
} // namespace
