// The tool run against the fake program: what reaches the pane, when, and what is left behind.
#include "fusion/command_line.h"
#include "platform/utf.h"
#include "resources/ids.h"
#include "resources/strings.h"
#include "tests/metadata/fixtures.h"
#include "tests/support/file_util.h"
#include "tests/support/process_usage.h"
#include "tests/ui/model/model_ui.h"
#include "tests/ui/test_os.h"
#include "ui/tool_run.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

namespace {
using toolrun_test::CTestPane;
namespace fs = std::filesystem;

const std::u16string kFake = platform::Utf8ToUtf16(LVP_FAKE_TOOL);

// Passes every call on to the pane's backend, and records the added texts and the cursor.
class CRecordingBackend : public lvp::CWndBackend, public lvp::CEditBackend {
public:
    CRecordingBackend(lvp::SControlBackend inner, const lvp::CModelCursor& cursor)
        : m_inner(std::move(inner)), m_cursor(cursor)
    {
    }
    platform::WindowId GetWindowId() const override { return Wnd().GetWindowId(); }
    int GetDlgCtrlID() const override { return Wnd().GetDlgCtrlID(); }
    void SetText(std::u16string_view t) override { Wnd().SetText(t); }
    std::u16string GetText() const override { return Wnd().GetText(); }
    int GetTextLength() const override { return Wnd().GetTextLength(); }
    void ShowWindow(bool b) override { Wnd().ShowWindow(b); }
    bool IsWindowVisible() const override { return Wnd().IsWindowVisible(); }
    void EnableWindow(bool b) override { Wnd().EnableWindow(b); }
    bool IsWindowEnabled() const override { return Wnd().IsWindowEnabled(); }
    void MoveWindow(const lvp::SRect& r, bool b) override { Wnd().MoveWindow(r, b); }
    lvp::SRect GetWindowRect() const override { return Wnd().GetWindowRect(); }
    void UpdateWindow() override
    {
        ++m_nUpdates;
        Wnd().UpdateWindow();
    }
    void SetFocus() override { Wnd().SetFocus(); }
    void SetFont(const lvp::CFontBackend* f, bool b) override { Wnd().SetFont(f, b); }
    void SetSel(int s, int e) override { Edit().SetSel(s, e); }
    void GetSel(int& s, int& e) const override { Edit().GetSel(s, e); }
    void ScrollCaret() override { Edit().ScrollCaret(); }
    void ReplaceSel(std::u16string_view t, bool b) override
    {
        int s = 0, e = 0;
        Edit().GetSel(s, e);
        m_bAllAtEnd = m_bAllAtEnd && s == e && e == Wnd().GetTextLength();
        m_bCursorShown = m_bCursorShown && m_cursor.m_nDepth > 0;
        Edit().ReplaceSel(t, b);
        m_adds.emplace_back(t);
        if (m_onAdd)
            m_onAdd(Wnd().GetText());
    }
    void SetLimitText(unsigned n) override { Edit().SetLimitText(n); }
    unsigned GetLimitText() const override { return Edit().GetLimitText(); }

    lvp::CWndBackend& Wnd() const { return *m_inner.pWnd; }
    lvp::CEditBackend& Edit() const { return *m_inner.pEdit; }
    lvp::SControlBackend m_inner;
    const lvp::CModelCursor& m_cursor;
    std::vector<std::u16string> m_adds;
    std::function<void(const std::u16string&)> m_onAdd;
    bool m_bAllAtEnd = true;    // every text went to the end, nothing selected
    bool m_bCursorShown = true; // the wait cursor was up for every text
    int m_nUpdates = 0;
};

// The edit operations of the recorder, which the pane owns as its window operations.
class CEditForward : public lvp::CEditBackend {
public:
    explicit CEditForward(CRecordingBackend& r) : m_r(r) {}
    void SetSel(int s, int e) override { m_r.SetSel(s, e); }
    void GetSel(int& s, int& e) const override { m_r.GetSel(s, e); }
    void ScrollCaret() override { m_r.ScrollCaret(); }
    void ReplaceSel(std::u16string_view t, bool b) override { m_r.ReplaceSel(t, b); }
    void SetLimitText(unsigned n) override { m_r.SetLimitText(n); }
    unsigned GetLimitText() const override { return m_r.GetLimitText(); }

private:
    CRecordingBackend& m_r;
};

class ToolRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_pPane = toolrun_test::MakeTestPane();
        auto pRecorder = std::make_unique<CRecordingBackend>(m_pPane->m_edit.Detach(), m_cursor);
        m_pRecorder = pRecorder.get();
        m_pPane->m_edit.Attach(
            {std::move(pRecorder), std::make_unique<CEditForward>(*m_pRecorder), nullptr, nullptr, nullptr});
    }
    void TearDown() override
    {
        m_pPane.reset();
    }
    std::u16string Marker(const char* name) const { return (m_dir / name).u16string(); }
    // Runs the fake program with the steps as its input files; a fused output receives the
    // metadata of firstPhoto.
    lvp::ERunOutcome Run(const std::vector<std::u16string>& steps, const std::u16string& program = kFake,
                         const std::u16string& firstPhoto = {})
    {
        std::vector<std::u16string> selection;
        for (const auto& s : steps)
            selection.push_back(s.c_str());
        return lvp::RunAndShowOutput(m_pPane->m_edit, lvp::BuildToolCommand(program, Output(), 95, selection),
                                     {platform::RealOs(), m_ui, Output(), m_stop, nullptr, nullptr,
                                      firstPhoto});
    }
    std::u16string Text() const { return m_pPane->m_edit.GetText(); }
    std::u16string Output() const { return (m_dir / "out.jpg").u16string(); }

    lvp::CModelUi m_ui; // for the wait cursor
    std::function<bool()> m_stop; // the user's stop request
    lvp::CModelCursor& m_cursor = m_ui.m_cursor;
    std::unique_ptr<CTestPane> m_pPane;
    CRecordingBackend* m_pRecorder = nullptr; // owned by the pane's CEdit
    const TempDir m_temp;
    const fs::path m_dir = m_temp.path();
    const std::u16string m_strDone = u"\r\n" + lvp::LoadModuleString(lvp::IDS_CLOSE_WITH_OK);
};

TEST_F(ToolRun, OutputReachesThePaneLineByLine)
{
    struct Case {
        const char* name;
        std::vector<std::u16string> steps;
        std::u16string output; // what the pane shows before the closing message (OUT: the output file)
        std::u16string last;   // the text without line feed at the end of the output
    } cases[] = {
        {"nothing", {}, u"", u""},
        {"no final line feed", {u"out:a\\nlast"}, u"a\nlast", u"last"},
        {"CR LF lines", {u"out:one\\r\\ntwo\\r\\n"}, u"one\r\ntwo\r\n", u""},
        {"stderr among stdout", {u"out:1\\n", u"err:warning\\n", u"out:2\\n"}, u"1\nwarning\n2\n", u""},
        {"zero bytes add nothing", {u"out:a\\0b\\n\\0"}, u"ab\n", u""},
        {"lone carriage return", {u"out:a\\rb"}, u"a\rb", u"a\rb"},
        {"arguments in order",
         {u"args", u"in 1.jpg", u"in2.jpg", u"C:\\x\\in3.jpg"},
         u"-o\nOUT\n--compression=95\nargs\nin 1.jpg\nin2.jpg\nC:\\x\\in3.jpg\n",
         u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_pRecorder->m_adds.clear();
        m_pRecorder->m_nUpdates = 0;
        m_pPane->m_edit.SetText(u"left from before");
        EXPECT_EQ(Run(c.steps), lvp::ERunOutcome::Fused);
        std::u16string want = c.output;
        if (const size_t at = want.find(u"\nOUT\n"); at != std::u16string::npos)
            want.replace(at + 1, 3, Output());
        EXPECT_EQ(Text(), want + m_strDone);
        // Complete lines, then the rest without line feed, then the closing message.
        const auto& adds = m_pRecorder->m_adds;
        ASSERT_GE(adds.size(), 2u);
        EXPECT_EQ(adds.back(), m_strDone);
        EXPECT_EQ(adds[adds.size() - 2], c.last);
        for (size_t i = 0; i + 2 < adds.size(); ++i)
            EXPECT_EQ(adds[i].back(), u'\n') << i;
        EXPECT_EQ(m_cursor.m_nDepth, 0);
        EXPECT_EQ(m_pRecorder->m_nUpdates, static_cast<int>(adds.size())); // repainted after each text
    }
    EXPECT_TRUE(m_pRecorder->m_bAllAtEnd);
    EXPECT_TRUE(m_pRecorder->m_bCursorShown);
    EXPECT_EQ(m_cursor.m_nBeginCount, static_cast<int>(std::size(cases)));
}

TEST_F(ToolRun, LineIsInThePaneBeforeTheToolWritesTheNext)
{
    const std::u16string go = Marker("go");
    std::u16string atFirst;
    m_pRecorder->m_onAdd = [&](const std::u16string& text) {
        if (atFirst.empty()) {
            atFirst = text;
            std::ofstream(fs::path(go)).put('x');
        }
    };
    Run({u"out:first\\n", u"wait:" + go, u"out:second\\n"});
    EXPECT_EQ(atFirst, u"first\n");
    EXPECT_EQ(Text(), u"first\nsecond\n" + m_strDone);
    EXPECT_EQ(m_pRecorder->m_adds.back(), m_strDone);
}

TEST_F(ToolRun, LargeOutputIsKeptWhole)
{
    Run({u"lines:20000"});
    std::u16string text = Text();
    ASSERT_EQ(text.size(), 20000u * 100u + m_strDone.size());
    EXPECT_EQ(text.substr(0, 9), u"00000000 ");
    EXPECT_EQ(text.substr(19999u * 100u, 9), u"00019999 ");
    EXPECT_EQ(text.substr(20000u * 100u), m_strDone);
}

TEST_F(ToolRun, CharactersOfSeveralBytesSurvive)
{
    toolrun_test::CMultiByteLocale locale;
    ASSERT_TRUE(locale.m_bActive);
    std::u16string escaped = u"out:";
    for (unsigned char b : locale.m_strBytes) {
        static const char16_t hex[] = u"0123456789ABCDEF";
        escaped += std::u16string{u'\\', u'x', hex[b >> 4], hex[b & 15]};
    }
    // The same text with and without a final line feed; the second also cut inside a character.
    Run({escaped + u"\\n", escaped, u"out:\\xE2\\x82"});
    std::u16string text = Text();
    EXPECT_EQ(text.substr(0, locale.m_strText.size() * 2 + 1), locale.m_strText + u"\n" + locale.m_strText);
    EXPECT_EQ(text.substr(text.size() - m_strDone.size()), m_strDone);
}

TEST_F(ToolRun, ArgumentsArriveUnchanged)
{
    std::vector<std::u16string> samples = {u"a b", u"Bäume €.jpg", u"\U0001F600", u"100%!d!"};
    for (const auto& s : toolrun_test::OsArgumentSamples())
        samples.push_back(s);
    std::vector<std::u16string> steps = {u"argshex"};
    steps.insert(steps.end(), samples.begin(), samples.end());
    Run(steps);
    std::u16string expected;
    auto hex = [](const std::u16string& s) {
        std::u16string out;
        for (unsigned char b : platform::Utf16ToUtf8(s)) {
            static const char16_t digits[] = u"0123456789ABCDEF";
            out += digits[b >> 4];
            out += digits[b & 15];
        }
        return out + u"\n";
    };
    for (const std::u16string& a :
         std::vector<std::u16string>{u"-o", Output(), u"--compression=95", u"argshex"})
        expected += hex(a);
    for (const auto& s : samples)
        expected += hex(s);
    EXPECT_EQ(Text(), expected + m_strDone);
}

TEST_F(ToolRun, ProgramThatCannotStartSaysWhy)
{
    const std::u16string missing = Marker("no such program.exe");
    const std::u16string folder = m_dir.u16string();
    std::u16string prefix = lvp::LoadModuleString(lvp::IDS_TOOL_NOT_STARTED);
    prefix.resize(prefix.find(u"%1"));
    for (const std::u16string& program : {missing, folder}) {
        m_pPane->m_edit.SetText(u"left from before");
        std::size_t before = lvp::test::OpenHandleCount();
        EXPECT_EQ(Run({u"out:x\\n"}, program), lvp::ERunOutcome::Failed);
        const std::u16string text = Text();
        EXPECT_EQ(text.substr(0, prefix.size()), prefix);
        EXPECT_GT(text.size(), prefix.size() + 2 + m_strDone.size()) << "the system's reason";
        EXPECT_EQ(text.substr(text.size() - m_strDone.size()), m_strDone);
        EXPECT_EQ(lvp::test::OpenHandleCount(), before);
        EXPECT_FALSE(fs::exists(fs::path(Output())));
    }
    EXPECT_EQ(m_cursor.m_nDepth, 0);
}

// The run succeeds only when the program ends with 0 and has written the output file; a file
// left by a failed run goes unless it was there before.
TEST_F(ToolRun, OutcomeFollowsExitCodeAndOutputFile)
{
    const std::u16string failed3 = lvp::FormatModuleString(lvp::IDS_TOOL_FAILED, u"3") + u"\r\n";
    const std::u16string noOutput = lvp::LoadModuleString(lvp::IDS_TOOL_NO_OUTPUT) + u"\r\n";
    struct Case {
        const char* name;
        bool bOutputBefore;
        std::vector<std::u16string> steps;
        lvp::ERunOutcome outcome;
        std::u16string text; // before the closing message
        bool bOutputAfter;
    } cases[] = {
        {"fused", false, {u"out:x\\n"}, lvp::ERunOutcome::Fused, u"x\n", true},
        {"replaced", true, {u"out:x\\n"}, lvp::ERunOutcome::Fused, u"x\n", true},
        {"exit code", false, {u"out:x\\n", u"exit:3"}, lvp::ERunOutcome::Failed, u"x\n" + failed3, false},
        {"exit code after an open line", false, {u"out:x", u"exit:3"}, lvp::ERunOutcome::Failed,
         u"x\r\n" + failed3, false},
        {"partial output removed", false, {u"output", u"exit:3"}, lvp::ERunOutcome::Failed, failed3, false},
        {"earlier file kept", true, {u"exit:3"}, lvp::ERunOutcome::Failed, failed3, true},
        {"no output file", false, {u"nooutput"}, lvp::ERunOutcome::Failed, noOutput, false},
        {"earlier file not rewritten", true, {u"nooutput"}, lvp::ERunOutcome::Failed, noOutput, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::error_code ec;
        fs::remove(fs::path(Output()), ec);
        if (c.bOutputBefore) {
            std::ofstream(fs::path(Output())) << "earlier";
            // A later write must show in the time of writing, even where it is coarse.
            fs::last_write_time(fs::path(Output()), fs::last_write_time(fs::path(Output())) - std::chrono::hours(1));
        }
        EXPECT_EQ(Run(c.steps), c.outcome);
        EXPECT_EQ(Text(), c.text + m_strDone);
        EXPECT_EQ(fs::exists(fs::path(Output())), c.bOutputAfter);
    }
}

// A fused output receives the first photo's metadata; where it cannot, one line before the
// closing message says why and the run still counts as fused. A photo with nothing to carry (the
// fake program's inputs are texts) and a run that failed say nothing of it.
TEST_F(ToolRun, FusedOutputCarriesTheFirstPhotosMetadataOrSaysWhyNot)
{
    namespace md = lvp::metadata;
    const md::test::Bytes camera = md::test::CameraJpeg();
    const std::string photo(camera.begin(), camera.end());
    const std::u16string photoPath = Marker("photo.jpg");
    auto line = [](unsigned nId, const std::u16string& path) {
        return lvp::FormatModuleString(nId, path) + u"\r\n";
    };
    const struct {
        const char* name;
        std::string photo;
        std::vector<std::u16string> steps;
        lvp::ERunOutcome outcome;
        std::u16string text; // before the closing message
        bool bCarried;
    } cases[] = {
        {"carried", photo, {u"out:x\\n", u"jpeg"}, lvp::ERunOutcome::Fused, u"x\n", true},
        {"photo is a text", "out:x\\n", {u"out:x\\n", u"jpeg"}, lvp::ERunOutcome::Fused, u"x\n", false},
        {"damaged photo", photo.substr(0, 40), {u"out:x\\n", u"jpeg"}, lvp::ERunOutcome::Fused,
         u"x\n" + line(lvp::IDS_METADATA_SOURCE_DAMAGED, photoPath), false},
        {"output neither JPEG nor TIFF, after an open line", photo, {u"out:x"}, lvp::ERunOutcome::Fused,
         u"x\r\n" + line(lvp::IDS_METADATA_FORMAT_UNSUPPORTED, Output()), false},
        {"failed run", photo, {u"jpeg", u"output", u"exit:3"}, lvp::ERunOutcome::Failed,
         line(lvp::IDS_TOOL_FAILED, u"3"), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::error_code ec;
        fs::remove(fs::path(Output()), ec);
        std::ofstream(fs::path(photoPath), std::ios::binary) << c.photo;
        EXPECT_EQ(Run(c.steps, kFake, photoPath), c.outcome);
        EXPECT_EQ(Text(), c.text + m_strDone);
        std::ifstream in(fs::path(Output()), std::ios::binary);
        const md::test::Bytes output{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        EXPECT_EQ(md::CarryOver(camera, output).outcome == md::ECarryOutcome::OutputHasExif, c.bCarried);
    }
}

// The stop request is asked while the program writes and while it is silent; the program and
// what it started are gone when the run returns, and the pane says so.
TEST_F(ToolRun, StopEndsTheProgramAtOnce)
{
    const std::u16string stopped = lvp::LoadModuleString(lvp::IDS_TOOL_STOPPED) + u"\r\n";
    struct Case {
        const char* name;
        std::vector<std::u16string> steps;
    } cases[] = {
        {"silent", {u"out:a\\n", u"sleep:600000"}},
        {"grandchild holds the pipe", {u"out:a\\n", u"grandchild:600000", u"sleep:600000"}},
#ifndef _WIN32
        {"deaf to SIGTERM", {u"ignoreterm", u"out:a\\n", u"sleep:600000"}},
#endif
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::size_t before = lvp::test::OpenHandleCount();
        int nAsked = 0;
        // Asked once the first line is in the pane.
        m_stop = [&] { return ++nAsked > 1 && Text().find(u"a\n") != std::u16string::npos; };
        EXPECT_EQ(Run(c.steps), lvp::ERunOutcome::Stopped);
        EXPECT_EQ(Text(), u"a\n" + stopped + m_strDone);
        EXPECT_FALSE(fs::exists(fs::path(Output())));
        EXPECT_EQ(lvp::test::OpenHandleCount(), before);
    }
}

TEST_F(ToolRun, CommandLineOverTheLimitIsRefused)
{
    // Far beyond 32 767 characters and beyond the usual argument space of 2 MiB; the last
    // argument alone passes Linux's 128 KiB limit for one argument.
    std::vector<std::u16string> steps(40, u"out:" + std::u16string(100000, u'x'));
    steps.push_back(u"out:" + std::u16string(200000, u'z'));
    platform::SCommandLine command = lvp::BuildToolCommand(kFake, u"out.jpg", 95, {});
    for (const auto& s : steps) {
        command.strCommandLine += u" \"" + s + u"\"";
        command.args.push_back(s);
    }
    ASSERT_TRUE(platform::RealOs().IsCommandLineTooLong(command));
    const std::u16string one(200000, u'z');
    EXPECT_TRUE(
        platform::RealOs().IsCommandLineTooLong(lvp::BuildToolCommand(kFake, u"o", 1, {one.c_str()})));
    const std::u16string fits(3000, u'y');
    EXPECT_FALSE(
        platform::RealOs().IsCommandLineTooLong(lvp::BuildToolCommand(kFake, u"o", 1, {fits.c_str()})));
    EXPECT_EQ(lvp::RunAndShowOutput(m_pPane->m_edit, command, {platform::RealOs(), m_ui, Output(), nullptr}),
              lvp::ERunOutcome::Failed);
    EXPECT_EQ(Text(), lvp::LoadModuleString(lvp::IDS_COMMAND_TOO_LONG));
    EXPECT_EQ(m_cursor.m_nBeginCount, 0);

    // Longer than a fixed buffer of 1024 would hold, but within the limit: it runs whole.
    Run({u"out:" + std::u16string(3000, u'y'), u"out:\\nend"});
    EXPECT_EQ(Text(), std::u16string(3000, u'y') + u"\nend" + m_strDone);
}

TEST_F(ToolRun, RunEndsWhenAGrandchildHoldingThePipeEnds)
{
    Run({u"out:parent\\n", u"grandchild:1500", u"out:parent ends\\n"});
    EXPECT_EQ(Text(), u"parent\nparent ends\ngrandchild done\n" + m_strDone);
}

// Releasing the program, as the system does with the handles of a host that dies, ends it and
// what it started (Windows: the job is killed with its last handle; POSIX: the group): every
// writer of the pipe is gone, so the pipe ends.
TEST_F(ToolRun, ReleasedProgramEndsWithWhatItStarted)
{
    platform::CPipeReadEnd pipe;
    std::u16string strError;
    platform::CProcess process = platform::RealOs().StartProcessWithPipe(
        lvp::BuildToolCommand(kFake, Output(), 1, {u"out:started\\n", u"grandchild:600000", u"sleep:600000"}),
        pipe, strError);
    ASSERT_TRUE(process) << platform::Utf16ToUtf8(strError);
    char buffer[256];
    size_t nRead = 0;
    std::string seen;
    while (seen.find("started\n") == std::string::npos &&
           platform::RealOs().ReadPipe(pipe, buffer, sizeof buffer, nRead, 100) != platform::EPipeRead::End)
        seen.append(buffer, nRead);
    process.Close();
    platform::EPipeRead got = platform::EPipeRead::Idle;
    for (int i = 0; i < 200 && got != platform::EPipeRead::End; ++i)
        got = platform::RealOs().ReadPipe(pipe, buffer, sizeof buffer, nRead, 100);
    EXPECT_EQ(got, platform::EPipeRead::End);
}

TEST_F(ToolRun, NoHandleLeftOpen)
{
    Run({u"out:warm up\\n"}); // the first run may open lasting system handles
    std::size_t before = lvp::test::OpenHandleCount();
    {
        // The count sees a pipe and a process held open.
        platform::CPipeReadEnd pipe;
        std::u16string strError;
        platform::CProcess process = platform::RealOs().StartProcessWithPipe(
            lvp::BuildToolCommand(kFake, Output(), 1, {}), pipe, strError);
        ASSERT_TRUE(process && pipe.IsValid());
        EXPECT_GT(lvp::test::OpenHandleCount(), before);
    }
    EXPECT_EQ(lvp::test::OpenHandleCount(), before);
    for (int i = 0; i < 3; ++i)
        Run({u"out:x\\n", u"err:y"});
    EXPECT_EQ(lvp::test::OpenHandleCount(), before);
}
} // namespace
