// The fusion dialog over the in-memory window system: states, field exchange, checks, the run.
#include "platform/path.h"
#include "platform/utf.h"
#include "resources/ids.h"
#include "resources/strings.h"
#include "tests/metadata/fixtures.h"
#ifndef _WIN32
#include "tests/platform/posix/scoped_env.h"
#endif
#include "tests/support/test_util.h"
#include "tests/ui/model/model_ui.h"
#include "ui/sample_dlg.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <new>

namespace {
using namespace lvp;
namespace fs = std::filesystem;
using Step = CModelUi::Step;

const std::u16string kFake = platform::Utf8ToUtf16(LVP_FAKE_TOOL);
const std::u16string kDone = LoadModuleString(IDS_CLOSE_WITH_OK);

Step Click(int nId)
{
    return [nId](CModelDialog& d) { d.Click(nId); };
}
Step Type(int nId, std::u16string text)
{
    return [nId, text](CModelDialog& d) { d.Type(nId, text); };
}
const Step kOk = Click(IDC_OK);
const Step kEnter = [](CModelDialog& d) { d.PressEnter(); };
const Step kEscape = [](CModelDialog& d) { d.PressEscape(); };
const Step kClose = [](CModelDialog& d) { d.PressClose(); };

class SampleDlg : public ::testing::Test {
protected:
    // Runs the dialog with the steps; the fake tool prints one line for the run and writes the
    // output file, which is gone before each run.
    std::intptr_t Run(std::vector<Step> steps, const std::u16string& program = kFake)
    {
        std::error_code ec;
        fs::remove(fs::path(Path("a-c.jpg")), ec);
        m_ui.m_steps.assign(steps.begin(), steps.end());
        m_pDlg = std::make_unique<CSampleDlg>(platform::RealOs(), m_ui, &m_selection, nullptr);
        m_pDlg->m_strEnfusePath = program;
        m_pDlg->m_strOutputFile = Path("a-c.jpg");
        m_pDlg->m_nJpegQuality = 95;
        m_pDlg->m_nFusionMode = m_nFusionMode;
        return m_pDlg->DoModal();
    }
    SModelDialog& State() { return *m_ui.LastDialog(); }
    std::u16string Pane() { return State().Find(IDC_OUTPUT_PANE)->strText; }
    bool RunDone() { return Pane().ends_with(kDone); }
    std::u16string Path(const char* name) { return (m_dir / name).u16string(); }

    CModelUi m_ui;
    std::u16string m_line = u"out:enfuse l\\xE4uft\\n";
    std::vector<std::u16string> m_selection{m_line.c_str()};
    std::unique_ptr<CSampleDlg> m_pDlg;
    int m_nFusionMode = 0; // what the command gives the dialog
    const TempDir m_temp;
    const fs::path m_dir = m_temp.path();
};

TEST_F(SampleDlg, StatesEndAsAllowed)
{
    struct Case {
        const char* name;
        std::vector<Step> steps;
        std::intptr_t result;
        bool bRun;
    } cases[] = {
        {"OK, OK", {kOk, kOk}, 1, true},
        {"Enter, Enter", {kEnter, kEnter}, 1, true},
        {"Cancel while editing", {Click(IDC_CANCEL)}, 2, false},
        {"Escape while editing", {kEscape}, 2, false},
        {"close while editing", {kClose}, 2, false},
        {"Escape when finished", {kOk, kEscape}, 2, true},
        {"close when finished", {kOk, kClose}, 2, true},
        {"collapsed Cancel cannot be hit", {kOk, Click(IDC_CANCEL), kOk}, 1, true},
        {"Browse is gone after the run", {kOk, Click(IDC_BROWSE), kEnter}, 1, true},
        {"input runs out", {kOk}, -1, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Run(c.steps), c.result) << c.name;
        EXPECT_EQ(RunDone(), c.bRun) << c.name;
        EXPECT_EQ(m_pDlg->m_bRunDone, c.bRun) << c.name;
        EXPECT_TRUE(m_ui.m_messages.empty()) << c.name;
        EXPECT_TRUE(m_ui.m_fileRequests.empty()) << c.name;
    }
    // The pane shows the tool's line as its code page gives it, then the closing message.
    EXPECT_EQ(Pane(), u"enfuse l\u00e4uft\n\r\n" + kDone);
}

TEST_F(SampleDlg, OpensWithValuesFocusFontAndColours)
{
    SCtlColor pane, other;
    bool bAnswered = false;
    Run({[&](CModelDialog& d) {
        SModelDialog& s = d.State();
        EXPECT_EQ(s.window.strText, u"Belichtungsreihen zusammenf\u00fchren");
        EXPECT_EQ(s.Find(IDC_PROGRAM)->strText, kFake);
        EXPECT_EQ(s.Find(IDC_OUTPUT_FILE)->strText, Path("a-c.jpg"));
        EXPECT_EQ(s.Find(IDC_QUALITY)->strText, u"95");
        EXPECT_EQ(s.nFocusId, IDC_PROGRAM);
        EXPECT_FALSE(s.Find(IDC_OUTPUT_PANE)->bVisible);
        ASSERT_TRUE(s.Find(IDC_OUTPUT_PANE)->font.has_value());
        EXPECT_EQ(s.Find(IDC_OUTPUT_PANE)->font->strFace, u"Courier New");
        EXPECT_EQ(s.Find(IDC_OUTPUT_PANE)->font->nHeight, 13);
        EXPECT_EQ(s.Find(IDC_OUTPUT_PANE)->font->nPitchAndFamily, 0x22);
        // Centred on the screen, as it has no owner.
        const SRect& r = s.window.rect;
        EXPECT_EQ(r.left + r.right, 1280 - (1280 - (r.right - r.left)) % 2);
        bAnswered = d.QueryColor(IDC_OUTPUT_PANE, pane);
        EXPECT_FALSE(d.QueryColor(IDC_PROGRAM, other)); // the fields keep the system's colours
        d.PressEscape();
    }});
    // The pane answers white on black with its own black brush.
    ASSERT_TRUE(bAnswered);
    EXPECT_EQ(pane.text, Rgb(255, 255, 255));
    EXPECT_EQ(pane.back, Rgb(0, 0, 0));
    ASSERT_NE(pane.pBrush, nullptr);
    EXPECT_EQ(pane.pBrush->GetColor(), Rgb(0, 0, 0));
    m_ui.m_bFailFonts = true; // no font: the pane keeps the system's, nothing else changes
    EXPECT_EQ(Run({kOk, kOk}), 1);
    EXPECT_FALSE(State().Find(IDC_OUTPUT_PANE)->font.has_value());
    m_pDlg.reset();
    EXPECT_EQ(m_ui.m_nLiveFonts, 0);
    EXPECT_EQ(m_ui.m_nLiveBrushes, 0);
}

TEST_F(SampleDlg, QualityField)
{
    struct Case {
        std::u16string text;
        bool bNumber;
        std::uint32_t value;
    } cases[] = {
        {u"80 Wort", true, 80},
        {u" 70", true, 70},
        {u"1", true, 1},
        {u"+100", true, 100},
        // Outside 1 to 100, also what a "%u" scan would wrap into the range or out of it.
        {u"0", false, 0},
        {u"101", false, 0},
        {u"-1", false, 0},
        {u"4294967295", false, 0},
        {u"4294967296", false, 0},
        {u"4294967396", false, 0}, // 100 after wrapping
        {u"99999999999", false, 0},
        {u"abc", false, 0},
        {u"", false, 0},
        {u"\u00b9", false, 0}, // a superscript digit is no digit of the scan
    };
    for (const Case& c : cases) {
        m_ui.m_messages.clear();
        std::intptr_t result = Run({Type(IDC_QUALITY, c.text), kOk, kOk, kEscape});
        if (c.bNumber) {
            EXPECT_EQ(result, 1);
            EXPECT_EQ(m_pDlg->m_nJpegQuality, c.value);
            EXPECT_TRUE(m_ui.m_messages.empty());
            continue;
        }
        // The box, then the focus on the field with all of it selected; no check, no run.
        EXPECT_EQ(result, 2);
        ASSERT_EQ(m_ui.m_messages.size(), 2u) << platform::Utf16ToUtf8(c.text);
        EXPECT_EQ(m_ui.m_messages[0].strText, LoadModuleString(IDS_QUALITY_NOT_A_NUMBER));
        EXPECT_EQ(m_ui.m_messages[0].strCaption, u"ui_tests"); // the module holding the code
        EXPECT_EQ(m_ui.m_messages[0].icon, EMessageIcon::Warning);
        EXPECT_FALSE(m_ui.m_messages[0].strText.empty());
        const SModelControl& field = *State().Find(IDC_QUALITY);
        EXPECT_EQ(State().nFocusId, IDC_QUALITY);
        EXPECT_EQ(std::min(field.nSelStart, field.nSelEnd), 0);
        EXPECT_EQ(std::max(field.nSelStart, field.nSelEnd), static_cast<int>(c.text.size()));
        EXPECT_FALSE(RunDone());
        EXPECT_EQ(m_pDlg->m_nJpegQuality, 95u); // the members not read keep their values
    }
}

// List 1017 offers both kinds of series with the command's choice selected, right after the
// quality field; the choice made is the dialog's after OK, and the run's fusion has its options.
TEST_F(SampleDlg, KindOfSeriesList)
{
    const auto choose = [](int nIndex) {
        return [nIndex](CModelDialog& d) { d.SelectItem(IDC_FUSION_MODE, nIndex); };
    };
    const std::u16string focus = u"--compression=95\n--exposure-weight=0\n--saturation-weight=0\n"
                                 u"--contrast-weight=1\n--hard-mask\nargs\n";
    struct Case {
        const char* name;
        int nGiven;
        std::vector<Step> choice;
        int nChosen;
    } cases[] = {
        {"exposure as given", 0, {}, 0},
        {"focus as given", 1, {}, 1},
        {"focus chosen", 0, {choose(1)}, 1},
        {"exposure chosen", 1, {choose(0)}, 0},
        {"no such item", 0, {choose(2), choose(-1)}, 0},
    };
    m_selection = {u"args"};
    for (const Case& c : cases) {
        m_nFusionMode = c.nGiven;
        std::vector<Step> steps{[&](CModelDialog& d) {
            const SModelControl* pList = d.State().Find(IDC_FUSION_MODE);
            ASSERT_NE(pList, nullptr);
            EXPECT_EQ(pList->items, (std::vector<std::u16string>{LoadModuleString(IDS_MODE_EXPOSURE),
                                                                 LoadModuleString(IDS_MODE_FOCUS)}));
            EXPECT_EQ(pList->nCurSel, c.nGiven) << c.name;
            EXPECT_EQ(d.State().Find(IDC_FUSION_MODE_LABEL)->strText, u"Art der Reihe:");
            d.State().nFocusId = IDC_QUALITY;
            d.Tab();
            EXPECT_EQ(d.State().nFocusId, IDC_FUSION_MODE);
        }};
        steps.insert(steps.end(), c.choice.begin(), c.choice.end());
        steps.insert(steps.end(), {kOk, kOk});
        EXPECT_EQ(Run(steps), 1) << c.name;
        EXPECT_EQ(m_pDlg->m_nFusionMode, c.nChosen) << c.name;
        const std::u16string pane = Pane();
        EXPECT_EQ(pane.find(focus) != std::u16string::npos, c.nChosen == 1) << c.name << "\n"
                                                                            << platform::Utf16ToUtf8(pane);
        EXPECT_EQ(pane.find(u"--compression=95\nargs\n") != std::u16string::npos, c.nChosen == 0) << c.name;
    }
}

TEST_F(SampleDlg, MissingProgramAsksForIt)
{
    fs::create_directories(m_dir / "folder");
    const std::u16string folder = Path("folder");
    for (const std::u16string& program : {std::u16string(), Path("missing.exe"), folder}) {
        m_ui.m_messages.clear();
        m_ui.m_fileRequests.clear();
        m_ui.m_fileAnswers = {std::nullopt, kFake};
        fs::remove(fs::path(Path("typed.jpg")));
        // Cancelled choice: nothing changes; chosen: only the program field takes it; a third
        // OK then runs.
        std::u16string afterChoice;
        EXPECT_EQ(Run({Type(IDC_OUTPUT_FILE, Path("typed.jpg")), kOk, kOk,
                       [&](CModelDialog& d) {
                           afterChoice = d.State().Find(IDC_OUTPUT_FILE)->strText;
                           EXPECT_FALSE(RunDone());
                           EXPECT_EQ(d.State().Find(IDC_PROGRAM)->strText, kFake);
                       },
                       kOk, kOk},
                      program),
                  1);
        EXPECT_EQ(afterChoice, Path("typed.jpg"));
        ASSERT_EQ(m_ui.m_messages.size(), 2u);
        EXPECT_EQ(m_ui.m_messages[0].strText, LoadModuleString(IDS_PROGRAM_NOT_FOUND));
        EXPECT_EQ(m_ui.m_messages[0].icon, EMessageIcon::Warning);
        ASSERT_EQ(m_ui.m_fileRequests.size(), 2u);
        EXPECT_EQ(m_ui.m_fileRequests[0].strFilter, LoadModuleString(IDS_PROGRAM_FILTER));
        EXPECT_EQ(m_ui.m_fileRequests[0].strDefExt, u"exif");
        EXPECT_EQ(m_ui.m_fileRequests[0].nFlags, 6u);
        EXPECT_EQ(m_pDlg->m_strEnfusePath, kFake);
        EXPECT_EQ(m_pDlg->m_strOutputFile, Path("typed.jpg"));
    }
}

// enfuse cannot fuse photos of different sizes: OK names them and the dialog stays in Editing;
// a photo whose size cannot be read is left to enfuse.
TEST_F(SampleDlg, PhotosOfDifferentSizesAreRefusedOnOk)
{
    auto jpeg = [](uint16_t w, uint16_t h) {
        const metadata::test::Bytes bytes = metadata::test::MakeJpeg({}, w, h);
        return std::string(bytes.begin(), bytes.end());
    };
    const std::pair<const char*, std::string> files[] = {
        {"IMG_1.JPG", jpeg(640, 480)}, {"IMG_2.JPG", jpeg(640, 480)}, {"IMG_3.JPG", jpeg(480, 640)},
        {"small.jpg", jpeg(320, 240)}, {"unknown.jpg", "no image"},
    };
    for (const auto& [name, bytes] : files)
        std::ofstream(m_dir / name, std::ios::binary) << bytes;
    const std::u16string x = u" \u00d7 ";
    struct Case {
        const char* name;
        std::vector<const char*> photos;
        std::vector<std::u16string> named; // none: the run happens
    } cases[] = {
        {"a portrait frame among landscape frames",
         {"IMG_1.JPG", "IMG_2.JPG", "IMG_3.JPG"},
         {u"IMG_1.JPG: 640" + x + u"480", u"IMG_3.JPG: 480" + x + u"640"}},
        {"a resized copy, after an unreadable one",
         {"unknown.jpg", "IMG_1.JPG", "small.jpg", "IMG_3.JPG"},
         {u"IMG_1.JPG: 640" + x + u"480", u"small.jpg: 320" + x + u"240", u"IMG_3.JPG: 480" + x + u"640"}},
        {"one size", {"IMG_1.JPG", "IMG_2.JPG"}, {}},
        {"one size and an unreadable photo", {"IMG_1.JPG", "unknown.jpg", "IMG_2.JPG"}, {}},
    };
    for (const Case& c : cases) {
        std::vector<std::u16string> photos;
        for (const char* name : c.photos)
            photos.push_back(Path(name));
        m_selection.clear();
        for (const std::u16string& photo : photos)
            m_selection.push_back(photo.c_str());
        m_ui.m_messages.clear();
        bool bEditing = false;
        const bool bRefused = !c.named.empty();
        std::vector<Step> steps{kOk};
        if (bRefused)
            steps.push_back([&](CModelDialog& d) {
                bEditing =
                    !d.State().Find(IDC_OUTPUT_PANE)->bVisible && d.State().Find(IDC_PROGRAM)->bEnabled;
                d.PressEscape();
            });
        else
            steps.push_back(kOk);
        EXPECT_EQ(Run(steps), bRefused ? 2 : 1) << c.name;
        EXPECT_EQ(m_pDlg->m_bRunDone, !bRefused) << c.name;
        EXPECT_EQ(fs::exists(fs::path(Path("a-c.jpg"))), !bRefused) << c.name;
        if (!bRefused) {
            EXPECT_TRUE(m_ui.m_messages.empty()) << c.name;
            continue;
        }
        EXPECT_TRUE(bEditing) << c.name;
        ASSERT_EQ(m_ui.m_messages.size(), 1u) << c.name;
        EXPECT_EQ(m_ui.m_messages[0].strText, FormatModuleList(IDS_PHOTOS_SIZES_DIFFER, c.named)) << c.name;
        EXPECT_EQ(m_ui.m_messages[0].icon, EMessageIcon::Warning);
    }
}

TEST_F(SampleDlg, RunningLayoutAndProgramGoneBeforeSecondOk)
{
    const std::u16string copy = Path("enfuse.exe");
    fs::copy_file(fs::path(kFake), fs::path(copy));
    fs::permissions(fs::path(copy), fs::perms::owner_all, fs::perm_options::add);
    m_ui.m_fileAnswers = {std::nullopt};
    std::intptr_t result = Run({kOk,
                                [&](CModelDialog& d) {
                                    SModelDialog& s = d.State();
                                    for (int nId : {IDC_PROGRAM_LABEL, IDC_BROWSE, IDC_PROGRAM,
                                                    IDC_OUTPUT_FILE_LABEL, IDC_OUTPUT_FILE, IDC_QUALITY_LABEL,
                                                    IDC_QUALITY, IDC_FUSION_MODE_LABEL, IDC_FUSION_MODE}) {
                                        EXPECT_FALSE(s.Find(nId)->bEnabled) << nId;
                                        EXPECT_EQ(s.Find(nId)->rect, (SRect{-1, -1, -1, -1})) << nId;
                                    }
                                    EXPECT_TRUE(s.Find(IDC_CANCEL)->bEnabled);
                                    EXPECT_EQ(s.Find(IDC_CANCEL)->rect, (SRect{-1, -1, -1, -1}));
                                    EXPECT_TRUE(s.Find(IDC_OUTPUT_PANE)->bVisible);
                                    EXPECT_TRUE(RunDone());
                                    fs::remove(fs::path(copy));
                                },
                                kOk, // the program is gone: 108 and the file dialog, no end
                                [&](CModelDialog& d) {
                                    EXPECT_FALSE(d.IsEnded());
                                    fs::copy_file(fs::path(kFake), fs::path(copy));
                                },
                                kOk},
                               copy);
    EXPECT_EQ(result, 1);
    ASSERT_EQ(m_ui.m_messages.size(), 1u);
    EXPECT_EQ(m_ui.m_messages[0].strText, LoadModuleString(IDS_PROGRAM_NOT_FOUND));
}

#ifndef _WIN32
// A bare name in the program field, with one such program in the current folder and another on
// PATH: OK checks the one that the search finds (PATH's), and that very file runs; the dialog
// keeps the field's text.
TEST_F(SampleDlg, BareProgramNameStartsTheFileChecked)
{
    const fs::path here = m_dir / "cwd", onPath = m_dir / "onpath";
    for (const fs::path& folder : {here, onPath}) {
        fs::create_directories(folder);
        fs::copy_file(fs::path(kFake), folder / "enfuse");
    }
    struct SCheckingOs : platform::CRealOs {
        mutable std::vector<std::u16string> checked;
        bool FileOpensForReading(const std::u16string& p) const override
        {
            checked.push_back(p);
            return CRealOs::FileOpensForReading(p);
        }
    } os;
    ScopedCurrentFolder cwd(here);
    const char* path = std::getenv("PATH");
    ScopedEnv pathVariable("PATH", onPath.string() + ":" + (path ? path : ""));
    const std::u16string self = u"self"; // the fake tool names the file it runs from
    std::vector<std::u16string> selection{self};
    m_ui.m_steps = {kOk, kOk};
    CSampleDlg dlg(os, m_ui, &selection, nullptr);
    dlg.m_strEnfusePath = u"enfuse";
    dlg.m_strOutputFile = Path("a-c.jpg");
    EXPECT_EQ(dlg.DoModal(), 1);
    ASSERT_TRUE(dlg.m_bRunDone);
    const std::u16string pane = Pane();
    const std::u16string started = pane.substr(0, pane.find(u'\n'));
    EXPECT_TRUE(os.IsSameFile(started, (onPath / "enfuse").u16string())) << platform::Utf16ToUtf8(pane);
    size_t nChecked = 0;
    for (const std::u16string& checked : os.checked) {
        if (platform::FileNameOf(checked, u"/") != u"enfuse")
            continue;
        ++nChecked;
        EXPECT_TRUE(os.IsSameFile(checked, started)) << platform::Utf16ToUtf8(checked);
    }
    EXPECT_GT(nChecked, 0u);
    EXPECT_EQ(dlg.m_strEnfusePath, u"enfuse"); // what the command stores as the setting
}
#endif

TEST_F(SampleDlg, ToolThatCannotStartStillFinishes)
{
    const std::u16string text = Path("not_a_program.exe");
    std::ofstream(fs::path(text)) << "text, not a program\n";
    EXPECT_EQ(Run({kOk, kOk}, text), 1);
    EXPECT_TRUE(m_pDlg->m_bRunDone);
    EXPECT_EQ(m_pDlg->m_outcome,
              ERunOutcome::Failed); // the pane's reason: ToolRun.ProgramThatCannotStartSaysWhy
    EXPECT_TRUE(RunDone());
}

// Before anything runs, OK refuses an output file that would destroy a selected photo, that has
// no folder, or that exists and the user does not want replaced; the dialog stays in Editing
// with the output field in focus and its text selected.
TEST_F(SampleDlg, OutputFileRefusals)
{
    const std::u16string photo = Path("x.jpg"), other = Path("other name.jpg");
    const std::u16string existing = Path("existing.jpg");
    fs::create_directories(m_dir / "folder");
    const std::u16string sep(1, platform::RealOs().PathSeparator());
    struct Case {
        const char* name;
        std::u16string output;
        std::deque<bool> answers; // to the Yes/No box
        unsigned nIdText;         // the box's text; 0: the run starts
        EMessageButtons buttons;
    } cases[] = {
        {"a selected photo", photo, {}, IDS_OUTPUT_IS_INPUT, EMessageButtons::Ok},
        {"a selected photo by another name", other, {}, IDS_OUTPUT_IS_INPUT, EMessageButtons::Ok},
        {"a selected photo through a dot",
         Path("folder") + sep + u".." + sep + u"x.jpg",
         {},
         IDS_OUTPUT_IS_INPUT,
         EMessageButtons::Ok},
#ifdef _WIN32
        {"a selected photo in capitals", Path("X.JPG"), {}, IDS_OUTPUT_IS_INPUT, EMessageButtons::Ok},
#endif
        {"a folder", Path("folder"), {}, IDS_OUTPUT_FOLDER_MISSING, EMessageButtons::Ok},
        {"a missing folder",
         Path("missing") + sep + u"out.jpg",
         {},
         IDS_OUTPUT_FOLDER_MISSING,
         EMessageButtons::Ok},
        {"existing, not replaced", existing, {false}, IDS_OUTPUT_EXISTS, EMessageButtons::YesNo},
        {"existing, no answer", existing, {}, IDS_OUTPUT_EXISTS, EMessageButtons::YesNo},
        {"existing, replaced", existing, {true}, 0, EMessageButtons::YesNo},
#ifdef _WIN32
        // Either separator ends a folder's name.
        {"a folder named with /", Path("folder") + u"/out.jpg", {}, 0, EMessageButtons::Ok},
        {"a missing folder named with /",
         Path("missing") + u"/out.jpg",
         {},
         IDS_OUTPUT_FOLDER_MISSING,
         EMessageButtons::Ok},
#else
        // A backslash is part of a file name here.
        {"a backslash in the name", Path("folder") + u"/a\\b.jpg", {}, 0, EMessageButtons::Ok},
        {"a backslash in the name, no folder", Path("missing\\out.jpg"), {}, 0, EMessageButtons::Ok},
#endif
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const std::u16string& f : {photo, existing})
            std::ofstream(fs::path(f)) << "photo";
        std::error_code ec;
        fs::remove(fs::path(other), ec);
        fs::create_hard_link(fs::path(photo), fs::path(other)); // the same file, another name
        m_selection = {m_line.c_str(), photo.c_str()};
        m_ui.m_messages.clear();
        m_ui.m_yesNoAnswers = c.answers;
        EXPECT_EQ(Run({Type(IDC_OUTPUT_FILE, c.output), kOk}), -1); // the input runs out in Editing
        const bool bRefused = c.nIdText != 0 && c.buttons == EMessageButtons::Ok;
        const bool bRuns = c.nIdText == 0;
        EXPECT_EQ(m_pDlg->m_bRunDone, !bRefused && (bRuns || (!c.answers.empty() && c.answers.front())));
        EXPECT_EQ(RunDone(), m_pDlg->m_bRunDone);
        EXPECT_TRUE(!bRuns || fs::exists(fs::path(c.output))) << "written under the name given";
        ASSERT_EQ(m_ui.m_messages.size(), c.buttons == EMessageButtons::YesNo || bRefused ? 1u : 0u);
        if (!m_ui.m_messages.empty()) {
            const std::u16string want = c.buttons == EMessageButtons::YesNo
                                            ? FormatModuleString(IDS_OUTPUT_EXISTS, c.output)
                                            : LoadModuleString(c.nIdText);
            EXPECT_EQ(m_ui.m_messages[0].strText, want);
            EXPECT_EQ(m_ui.m_messages[0].buttons, c.buttons);
            EXPECT_EQ(m_ui.m_messages[0].icon, EMessageIcon::Warning);
        }
        if (!m_pDlg->m_bRunDone) {
            const SModelControl& field = *State().Find(IDC_OUTPUT_FILE);
            EXPECT_EQ(State().nFocusId, IDC_OUTPUT_FILE);
            EXPECT_EQ(field.nSelStart, 0);
            EXPECT_EQ(field.nSelEnd, static_cast<int>(field.strText.size()));
        }
        std::ifstream in{fs::path(photo)};
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "photo") << "the photo is untouched";
    }
}

// Escape or the close button stop a run that would not end; what is typed meanwhile is
// dropped, and the dialog then waits in Finished for new input. Only a fused file reaches the
// host (m_outcome).
TEST_F(SampleDlg, RunCanBeStoppedAndIgnoresTypeAhead)
{
    const std::u16string stopped = LoadModuleString(IDS_TOOL_STOPPED);
    std::u16string hang = u"sleep:600000", line = u"out:a\\n";
    struct Case {
        const char* name;
        std::vector<Step> during;
        std::vector<std::u16string> tool;
        ERunOutcome outcome;
    } cases[] = {
        {"Escape", {kEnter, Type(IDC_QUALITY, u"1"), kEscape}, {line, hang}, ERunOutcome::Stopped},
        {"close button", {kClose}, {line, hang}, ERunOutcome::Stopped},
        {"Enter and OK typed ahead", {kEnter, kOk}, {line, u"sleep:300"}, ERunOutcome::Fused},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_selection.clear();
        for (const std::u16string& s : c.tool)
            m_selection.push_back(s.c_str());
        m_ui.m_runSteps.assign(c.during.begin(), c.during.end());
        EXPECT_EQ(Run({kOk}), -1); // Finished waits for input of its own
        EXPECT_TRUE(m_pDlg->m_bRunDone);
        EXPECT_EQ(m_pDlg->m_outcome, c.outcome);
        EXPECT_EQ(m_pDlg->m_nJpegQuality, 95u);
        EXPECT_EQ(Pane().find(stopped) != std::u16string::npos, c.outcome == ERunOutcome::Stopped);
        EXPECT_TRUE(RunDone());
        EXPECT_EQ(fs::exists(fs::path(Path("a-c.jpg"))), c.outcome == ERunOutcome::Fused);
        fs::remove(fs::path(Path("a-c.jpg")));
    }
}

// The bar: hidden while editing, shown from the run's start, rising, left in place when finished
// with the run's end state; the host's taskbar button the same until the dialog has ended.
TEST_F(SampleDlg, ProgressBarAndTaskbarFollowTheRun)
{
    const std::u16string load1 = u"err:enfuse: info: loading next image: a 1/2\\n",
                         load2 = u"err:enfuse: info: loading next image: b 2/2\\n", pause = u"sleep:150";
    // The fake tool's arguments are the photos: the stopped run's second of four.
    const std::u16string second = FormatModuleStrings(IDS_PROGRESS_FUSE_LOAD, {u"2", u"4"});
    struct Case {
        const char* name;
        std::vector<std::u16string> tool;
        std::vector<Step> during;
        EProgressState state;
        bool bWhole;      // at 100 %
        unsigned nIdWord; // the end's word in the text, or 0
    } cases[] = {
        {"fused", {load1, pause, load2, pause}, {}, EProgressState::Normal, true, 0},
        {"failed",
         {load1, pause, load2, pause, u"exit:1"},
         {},
         EProgressState::Error,
         false,
         IDS_PROGRESS_FAILED},
        {"stopped",
         {load1, pause, load2, u"sleep:600000"},
         {},
         EProgressState::Paused,
         false,
         IDS_PROGRESS_STOPPED},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_selection = c.tool;
        m_ui.m_taskbar = {};
        std::vector<int> seen; // the bar's position at each look at the input during the run
        const Step record = [&](CModelDialog& d) {
            const SModelControl* pBar = d.State().Find(IDC_PROGRESS);
            EXPECT_TRUE(pBar->bVisible);
            EXPECT_TRUE(m_ui.m_taskbar.bShown);
            seen.push_back(pBar->nPos);
            // The stop once the second photo loads.
            if (c.state == EProgressState::Paused && pBar->strText.starts_with(second))
                d.PressEscape();
        };
        m_ui.m_runSteps.assign(5000, record);
        const Step editing = [&](CModelDialog& d) {
            EXPECT_FALSE(d.State().Find(IDC_PROGRESS)->bVisible);
            EXPECT_FALSE(m_ui.m_taskbar.bShown);
        };
        const Step finished = [&](CModelDialog& d) {
            const SModelControl* pBar = d.State().Find(IDC_PROGRESS);
            EXPECT_TRUE(pBar->bVisible);
            EXPECT_EQ(pBar->progressState, c.state);
            EXPECT_EQ(pBar->nPos == kProgressRange, c.bWhole) << pBar->nPos;
            EXPECT_EQ(m_ui.m_taskbar.state, c.state);
            EXPECT_EQ(m_ui.m_taskbar.nPos, pBar->nPos);
            EXPECT_TRUE(m_ui.m_taskbar.bShown); // until the dialog ends
            if (c.nIdWord) {
                EXPECT_EQ(pBar->strText.rfind(LoadModuleString(c.nIdWord), 0), 0u)
                    << platform::Utf16ToUtf8(pBar->strText);
            }
        };
        EXPECT_EQ(Run({editing, kOk, finished, kOk}), 1);
        EXPECT_EQ(m_pDlg->m_outcome, c.state == EProgressState::Normal  ? ERunOutcome::Fused
                                     : c.state == EProgressState::Error ? ERunOutcome::Failed
                                                                        : ERunOutcome::Stopped);
        EXPECT_FALSE(m_ui.m_taskbar.bShown);
        EXPECT_EQ(m_ui.m_taskbar.nShows, 1);
        ASSERT_FALSE(seen.empty());
        EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
        EXPECT_TRUE(std::any_of(seen.begin(), seen.end(), [](int n) { return n > 0 && n < kProgressRange; }));
        fs::remove(fs::path(Path("a-c.jpg")));
    }
}

// An exception out of the finished dialog still takes the progress off the taskbar button.
TEST_F(SampleDlg, TaskbarClearedWhenAnExceptionEndsTheDialog)
{
    const std::u16string copy = Path("enfuse.exe");
    fs::copy_file(fs::path(kFake), fs::path(copy));
    fs::permissions(fs::path(copy), fs::perms::owner_all, fs::perm_options::add);
    m_ui.m_onMessage = [](const SModelMessage&) { throw std::bad_alloc(); };
    const Step removeProgram = [&](CModelDialog&) {
        EXPECT_TRUE(m_ui.m_taskbar.bShown);
        fs::remove(fs::path(copy));
    };
    EXPECT_THROW(Run({kOk, removeProgram, kOk}, copy), std::bad_alloc);
    EXPECT_EQ(m_ui.m_taskbar.nShows, 1);
    EXPECT_FALSE(m_ui.m_taskbar.bShown);
}

TEST_F(SampleDlg, ExceptionFromHandlerLeavesDoModal)
{
    m_ui.m_onMessage = [](const SModelMessage&) { throw std::bad_alloc(); };
    EXPECT_THROW(Run({kOk, kOk}, u""), std::bad_alloc);
    EXPECT_EQ(State().nResult, -1);
    EXPECT_FALSE(m_pDlg->m_editOutput.IsAttached());
}

// A path the program could not open, for which no other form can be made either (no short name,
// no link, no copy, no temporary folder): OK warns with the path, and nothing runs.
TEST_F(SampleDlg, PathWithoutAFormTheToolCanOpenIsRefused)
{
    class CNoFormsOs : public platform::CRealOs {
    public:
        bool FitsNarrowArguments(const std::u16string& p) const override
        {
            return p.find(u'\u5199') == std::u16string::npos;
        }
        std::u16string ShortPath(const std::u16string&) const override { return {}; }
        bool MakeHardLink(const std::u16string&, const std::u16string&) const override { return false; }
        bool CopyFileTo(const std::u16string&, const std::u16string&, bool) const override { return false; }
        std::u16string TempFolder() const override { return {}; }
    } os;
    const std::u16string photo = (m_dir / u"Bild \u5199.jpg").u16string();
    std::ofstream(fs::path(photo)) << "photo";
    for (const std::u16string& output : {Path("out.jpg"), (m_dir / u"\u5199.jpg").u16string()}) {
        const std::u16string input = output == Path("out.jpg") ? photo : Path("a.jpg");
        std::vector<std::u16string> selection{m_line.c_str(), input.c_str()};
        m_ui.m_messages.clear();
        m_ui.m_steps = {kOk};
        CSampleDlg dlg(os, m_ui, &selection, nullptr);
        dlg.m_strEnfusePath = kFake;
        dlg.m_strOutputFile = output;
        EXPECT_EQ(dlg.DoModal(), -1);
        EXPECT_FALSE(dlg.m_bRunDone);
        ASSERT_EQ(m_ui.m_messages.size(), 1u);
        const std::u16string named = output == Path("out.jpg") ? photo : output;
        EXPECT_EQ(m_ui.m_messages[0].strText, FormatModuleString(IDS_PATH_NOT_FOR_TOOL, named));
        EXPECT_EQ(m_ui.m_messages[0].icon, EMessageIcon::Warning);
    }
}
} // namespace
