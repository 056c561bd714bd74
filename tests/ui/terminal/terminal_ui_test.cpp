// The terminal rendition driven as a person would: the dialog program runs in a tmux pane,
// keys go in with send-keys, and the screen is read with capture-pane.
#include "tests/support/file_util.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace lvp {
namespace {
namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Single quotes for sh.
std::string Quote(const std::string& s)
{
    std::string out = "'";
    for (char c : s)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// Output and exit status of a shell command.
int Shell(const std::string& command, std::string* pOut = nullptr)
{
    std::FILE* p = ::popen(command.c_str(), "r");
    if (!p)
        return -1;
    std::string out;
    char buf[4096];
    for (size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;)
        out.append(buf, n);
    int status = ::pclose(p);
    if (pOut)
        *pOut = out;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool HaveTmux()
{
    return Shell("command -v tmux >/dev/null 2>&1") == 0;
}

// One tmux server of the test's own, with one 100 x 30 pane that runs the dialog program in a
// folder of its own. The pane's shell records the terminal modes before and after the program,
// and the program's exit status. The program's PATH holds no alignment program (the machine's
// would offer the check box).
class CDialogInTmux {
public:
    explicit CDialogInTmux(const std::vector<std::string>& args)
    {
        std::string program = Quote(LVP_TERMINAL_RUN);
        for (const std::string& a : args)
            program.append(" ").append(Quote(a));
        std::ofstream(m_dir / "run.sh") << "trap true INT\n" // Ctrl-C is for the program
                                        << "stty -g > before\n"
                                        << "LVP_PID_FILE=pid PATH=/nonexistent " << program << " > out 2> err\n"
                                        << "echo $? > rc.part && mv rc.part rc\n"
                                        << "stty -g > after\n"
                                        << "exec sleep 120\n";
        m_tmux = "tmux -S " + Quote((m_dir / "sock").string()) + " -f /dev/null";
        Shell(m_tmux + " new-session -d -x 100 -y 30 -c " + Quote(m_dir.string()) + " " +
              Quote("env LANG=C.UTF-8 LC_ALL=C.UTF-8 sh run.sh"));
    }
    ~CDialogInTmux()
    {
        Shell(m_tmux + " kill-server 2>/dev/null");
    }

    // An Escape waits a little, as a person's next key does: the terminal would otherwise take
    // it with the keys right after it for one sequence.
    void Keys(const std::string& keys)
    {
        Shell(m_tmux + " send-keys " + keys);
        if (keys.size() >= 6 && keys.compare(keys.size() - 6, 6, "Escape") == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(150));
    }
    void Text(const std::string& text) { Shell(m_tmux + " send-keys -l " + Quote(text)); }
    std::string Screen()
    {
        std::string out;
        Shell(m_tmux + " capture-pane -p", &out);
        return out;
    }
    // The screen with its attributes as escape sequences.
    std::string ScreenWithAttributes()
    {
        std::string out;
        Shell(m_tmux + " capture-pane -p -e", &out);
        return out;
    }
    std::string Ask(const std::string& format)
    {
        std::string out;
        Shell(m_tmux + " display-message -p " + Quote(format), &out);
        return out;
    }
    // Waits until the screen shows the text; false after a few seconds.
    bool WaitFor(const std::string& text, int nSeconds = 10)
    {
        auto until = std::chrono::steady_clock::now() + std::chrono::seconds(nSeconds);
        while (std::chrono::steady_clock::now() < until) {
            if (Screen().find(text) != std::string::npos)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        ADD_FAILURE() << "not on the screen: " << text << "\n" << Screen();
        return false;
    }
    // The program's exit status and standard output once it has ended; -1 if it has not.
    int WaitForEnd(std::string& out, int nSeconds = 10)
    {
        auto until = std::chrono::steady_clock::now() + std::chrono::seconds(nSeconds);
        while (!fs::exists(m_dir / "rc") || !fs::exists(m_dir / "after")) {
            if (std::chrono::steady_clock::now() > until)
                return -1;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100)); // "after" fully written
        out = ReadFile(m_dir / "out");
        return std::atoi(ReadFile(m_dir / "rc").c_str());
    }
    bool WaitForFile(const std::string& name)
    {
        for (int i = 0; i < 200 && !fs::exists(m_dir / name); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        return fs::exists(m_dir / name);
    }
    const fs::path& Dir() const { return m_dir; }

private:
    TempDir m_temp; // removed after the server is gone
    fs::path m_dir = m_temp.path();
    std::string m_tmux;
};

class TerminalUiTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveTmux())
            GTEST_SKIP() << "tmux is not installed";
    }
};

TEST_F(TerminalUiTest, OpensWithTheValuesThenTabTypingRunAndOk)
{
    CDialogInTmux t({LVP_FAKE_TOOL, "sub/a-c.jpg", "95", "out:erste Zeile\\n", "out:zweite Zeile\\n"});
    fs::create_directory(t.Dir() / "Tub"); // the folder of the output file as it will be typed
    ASSERT_TRUE(t.WaitFor("Belichtungsreihen zusammenführen"));
    std::string screen = t.Screen();
    EXPECT_NE(screen.find("fake_tool"), std::string::npos) << screen;
    EXPECT_NE(screen.find("sub/a-c.jpg"), std::string::npos);
    EXPECT_NE(screen.find(" 95 "), std::string::npos);
    EXPECT_NE(screen.find("< OK >"), std::string::npos) << "the default button is marked";
    // Focus in the program field with its text selected: End keeps it and goes to its end.
    // Then Tab, Tab to the output file; Tab to the quality, whose selected text typing replaces;
    // Shift-Tab back to the output file.
    t.Keys("End");
    t.Text("X");
    t.Keys("Tab Tab End BSpace BSpace BSpace");
    t.Text("png");
    t.Keys("Tab");
    t.Text("80");
    t.Keys("BTab Home Delete");
    t.Text("T");
    // OK with a program that cannot be opened: 108, its OK, then the prompt, cancelled.
    t.Keys("Enter");
    ASSERT_TRUE(t.WaitFor("konnte nicht gefunden werden."));
    EXPECT_NE(t.Screen().find("terminal_dialog_run"), std::string::npos); // the caption: the program
    t.Keys("Enter");
    ASSERT_TRUE(t.WaitFor("Öffnen"));
    t.Keys("Escape");
    // Back in the field: the X goes, the run starts and shows its lines, then message 109.
    t.Keys("Tab Tab Tab Tab Tab End BSpace Enter"); // quality, kind of series, OK, Cancel, program field
    ASSERT_TRUE(t.WaitFor("Klicken Sie auf \"OK\", um das Fenster zu schließen."));
    screen = t.Screen();
    EXPECT_NE(screen.find("erste Zeile"), std::string::npos) << screen;
    EXPECT_NE(screen.find("zweite Zeile"), std::string::npos);
    EXPECT_EQ(screen.find("Durchsuchen"), std::string::npos) << "the fields gave way to the pane";
    t.Keys("Enter");
    std::string out;
    ASSERT_EQ(t.WaitForEnd(out), 0);
    EXPECT_EQ(out, std::string("result 1\noutcome 0\nprogram ") + LVP_FAKE_TOOL + "\noutput Tub/a-c.png\nquality 80\nmode 0\n");
    EXPECT_TRUE(fs::exists(t.Dir() / "Tub" / "a-c.png"));
}

// The check box: offered beside the stand-in enfuse, "[x] ..." that Space toggles where it has
// the focus; a failed alignment asks with Yes in focus, and Enter fuses unaligned. Without the
// program the box is dimmed "[ ] ..." and Tab passes it by.
TEST_F(TerminalUiTest, AlignBoxTogglesWithSpaceAndAFailedAlignmentAsks)
{
    const std::string box = "Bilder vor dem Zusammenführen ausrichten";
    {
        CDialogInTmux t({LVP_FAKE_HUGIN_ENFUSE, "o.jpg", "95", "out:A\\n", "align:exit:1"});
        ASSERT_TRUE(t.WaitFor("[x] " + box));
        t.Keys("Tab Tab Tab Tab Tab Space"); // Durchsuchen..., output file, quality, kind of series, the box
        ASSERT_TRUE(t.WaitFor("[ ] " + box));
        t.Keys("Space");
        ASSERT_TRUE(t.WaitFor("[x] " + box));
        t.Keys("Enter");
        ASSERT_TRUE(t.WaitFor("Möchten Sie"));
        EXPECT_NE(t.Screen().find("< Ja >"), std::string::npos) << t.Screen();
        t.Keys("Enter");
        ASSERT_TRUE(t.WaitFor("Klicken Sie auf"));
        const std::string screen = t.Screen();
        EXPECT_NE(screen.find("Die Bilder konnten nicht ausgerichtet werden."), std::string::npos) << screen;
        EXPECT_NE(screen.find("Die Bilder werden ohne Ausrichtung zusammengeführt."), std::string::npos);
        t.Keys("Enter");
        std::string out;
        ASSERT_EQ(t.WaitForEnd(out), 0);
        EXPECT_EQ(out.substr(0, 19), "result 1\noutcome 0\n");
    }
    CDialogInTmux t({LVP_FAKE_TOOL, "o.jpg", "95", "out:A\\n"});
    ASSERT_TRUE(t.WaitFor("[ ] " + box));
    std::string line;
    std::istringstream lines(t.ScreenWithAttributes());
    while (std::getline(lines, line) && line.find("] " + box) == std::string::npos) {
    }
    EXPECT_TRUE(line.find("\x1b[2m") != std::string::npos || line.find(";2m") != std::string::npos) << line;
    t.Keys("Tab Tab Tab Tab Tab Space"); // ... quality, kind of series, OK
    ASSERT_TRUE(t.WaitFor("Klicken Sie auf"));
    t.Keys("Enter");
    std::string out;
    ASSERT_EQ(t.WaitForEnd(out), 0);
    EXPECT_EQ(out.substr(0, 19), "result 1\noutcome 0\n");
}

// The kind of series in the quality's row: the label, then the list with its chosen item and the
// arrow. Where it has the focus, Space chooses the next item (after the last the first), the
// cursor keys the one before or after (no further than the ends); the run fuses as chosen.
TEST_F(TerminalUiTest, KindOfSeriesChosenWithSpaceAndCursorKeys)
{
    CDialogInTmux t({LVP_FAKE_TOOL, "o.jpg", "95", "args"});
    ASSERT_TRUE(t.WaitFor("Art der Reihe:"));
    const std::string exposure = "Belichtungsreihe ", focus = "Fokusreihe (Schärfentiefe erweitern)";
    // The row of the list, once it shows the item.
    const auto listRow = [&t](const std::string& item) {
        std::string line;
        for (int i = 0; i < 100; ++i, std::this_thread::sleep_for(std::chrono::milliseconds(50))) {
            std::istringstream lines(t.Screen());
            while (std::getline(lines, line) && line.find("Art der Reihe:") == std::string::npos) {
            }
            if (line.find(item) != std::string::npos)
                break;
        }
        return line;
    };
    const std::string row = listRow(exposure);
    EXPECT_NE(row.find(" 95 "), std::string::npos) << row;
    EXPECT_LT(row.find(" 95 "), row.find("Art der Reihe:")) << row;
    EXPECT_LT(row.find("Art der Reihe: "), row.find(exposure)) << row;
    EXPECT_NE(row.find("\u25bc"), std::string::npos) << row;
    t.Keys("Tab Tab Tab"); // Durchsuchen..., output file, quality
    t.Keys("Tab");         // the list
    const struct {
        const char* keys;
        const std::string* pItem;
    } steps[] = {
        {"Space", &focus}, {"Space", &exposure}, {"Down", &focus},    {"Down", &focus},  {"Up", &exposure},
        {"Up", &exposure}, {"Right", &focus},    {"Left", &exposure}, {"Right", &focus},
    };
    for (const auto& step : steps) {
        t.Keys(step.keys);
        EXPECT_NE(listRow(*step.pItem).find(*step.pItem), std::string::npos) << step.keys << "\n"
                                                                             << t.Screen();
    }
    t.Keys("Enter");
    ASSERT_TRUE(t.WaitFor("Klicken Sie auf"));
    EXPECT_NE(t.Screen().find("--hard-mask"), std::string::npos) << t.Screen();
    EXPECT_EQ(t.Screen().find("Art der Reihe:"), std::string::npos) << "collapsed for the run";
    t.Keys("Enter");
    std::string out;
    ASSERT_EQ(t.WaitForEnd(out), 0);
    EXPECT_NE(out.find("\nmode 1\n"), std::string::npos) << out;
}

TEST_F(TerminalUiTest, LinesShowWhileTheToolRunsAndEscapeEndsWithCancel)
{
    CDialogInTmux t({LVP_FAKE_TOOL, "o.jpg", "95", "out:vor dem Warten\\n", "wait:go", "out:danach\\n"});
    ASSERT_TRUE(t.WaitFor("Belichtungsreihen"));
    t.Keys("Enter");
    ASSERT_TRUE(t.WaitFor("vor dem Warten"));
    EXPECT_EQ(t.Screen().find("danach"), std::string::npos);
    std::ofstream(t.Dir() / "go").put('\n');
    ASSERT_TRUE(t.WaitFor("Klicken Sie auf"));
    EXPECT_NE(t.Screen().find("danach"), std::string::npos);
    t.Keys("Escape");
    std::string out;
    ASSERT_EQ(t.WaitForEnd(out), 0);
    EXPECT_EQ(out.substr(0, 9), "result 2\n");
}

// OK refuses a selected photo as the output, and asks before replacing a file: No (also Escape)
// keeps the dialog in Editing, Yes runs.
TEST_F(TerminalUiTest, OutputRefusalsAndTheReplaceQuestion)
{
    CDialogInTmux t({LVP_FAKE_TOOL, "x.jpg", "95", "x.jpg", "out:fertig\\n"});
    std::ofstream(t.Dir() / "x.jpg") << "photo";
    std::ofstream(t.Dir() / "e.jpg") << "earlier";
    ASSERT_TRUE(t.WaitFor("Belichtungsreihen"));
    t.Keys("Enter");
    ASSERT_TRUE(t.WaitFor("Die Ausgabedatei ist eines der ausgewählten Bilder."));
    t.Keys("Enter");
    t.Text("e.jpg"); // the output field has the focus, its text selected
    t.Keys("Enter");
    ASSERT_TRUE(t.WaitFor("bereits vorhanden"));
    EXPECT_NE(t.Screen().find("< Nein >"), std::string::npos) << t.Screen();
    EXPECT_NE(t.Screen().find("[ Ja ]"), std::string::npos);
    t.Keys("Escape");
    ASSERT_TRUE(t.WaitFor("Durchsuchen"));
    t.Keys("Enter");
    ASSERT_TRUE(t.WaitFor("bereits vorhanden"));
    t.Keys("Enter"); // No, the default
    ASSERT_TRUE(t.WaitFor("Durchsuchen"));
    t.Keys("Enter");
    ASSERT_TRUE(t.WaitFor("bereits vorhanden"));
    t.Keys("Left Enter"); // Yes
    ASSERT_TRUE(t.WaitFor("Klicken Sie auf"));
    t.Keys("Enter");
    std::string out;
    ASSERT_EQ(t.WaitForEnd(out), 0);
    EXPECT_EQ(out.substr(0, 19), "result 1\noutcome 0\n") << out;
    EXPECT_EQ(ReadFile(t.Dir() / "x.jpg"), "photo");
    EXPECT_NE(ReadFile(t.Dir() / "e.jpg"), "earlier");
}

// Escape stops a tool that would not end; the Enter typed before it does not end the dialog.
TEST_F(TerminalUiTest, EscapeStopsTheRunAndTypeAheadIsDropped)
{
    CDialogInTmux t({LVP_FAKE_TOOL, "o.jpg", "95", "out:läuft\\n", "sleep:600000"});
    ASSERT_TRUE(t.WaitFor("Belichtungsreihen"));
    t.Keys("Enter");
    ASSERT_TRUE(t.WaitFor("läuft"));
    t.Keys("Enter");
    t.Keys("Escape");
    ASSERT_TRUE(t.WaitFor("Abgebrochen."));
    ASSERT_TRUE(t.WaitFor("Klicken Sie auf"));
    std::string out;
    EXPECT_EQ(t.WaitForEnd(out, 1), -1) << "Finished waits for a key of its own";
    t.Keys("Enter");
    ASSERT_EQ(t.WaitForEnd(out), 0);
    EXPECT_EQ(out.substr(0, 19), "result 1\noutcome 2\n") << out;
    EXPECT_FALSE(fs::exists(t.Dir() / "o.jpg"));
}

TEST_F(TerminalUiTest, FilePromptListsTheProgramAndCompletesWithTab)
{
    CDialogInTmux t({"/nonexistent/enfuse", "o.jpg", "95", "a.jpg", "b.jpg"});
    std::ofstream(t.Dir() / "enfuse") << "#!/bin/sh\n";
    fs::create_directory(t.Dir() / "bin");
    ASSERT_TRUE(t.WaitFor("Belichtungsreihen"));
    t.Keys("Enter");
    ASSERT_TRUE(t.WaitFor("wählen Sie dann das Programm aus."));
    t.Keys("Enter");
    ASSERT_TRUE(t.WaitFor("Enfuse-Program (enfuse.exe)"));
    std::string screen = t.Screen();
    EXPECT_NE(screen.find(t.Dir().string() + "/"), std::string::npos) << "starts in the current folder\n"
                                                                      << screen;
    EXPECT_NE(screen.find(" bin/ "), std::string::npos) << screen;
    EXPECT_NE(screen.find(" enfuse "), std::string::npos);
    EXPECT_EQ(screen.find("run.sh"), std::string::npos) << "only what matches enfuse";
    t.Text("e");
    t.Keys("Tab Enter");
    ASSERT_TRUE(t.WaitFor("Programmdatei"));
    t.Keys("Escape");
    std::string out;
    ASSERT_EQ(t.WaitForEnd(out), 0);
    EXPECT_EQ(out.substr(0, 9), "result 2\n");
    EXPECT_NE(out.find("\nprogram " + (t.Dir() / "enfuse").string() + "\n"), std::string::npos) << out;
}

// A process that has ended (a zombie whose parent is gone counts as ended).
bool ProcessEnded(pid_t pid)
{
    for (int i = 0; i < 100; ++i) {
        std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
        std::string fields;
        std::getline(stat, fields);
        const size_t at = fields.rfind(')');
        if (!stat || (at != std::string::npos && fields.compare(at, 3, ") Z") == 0))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

// The terminal's modes and screen are back after the dialog however it ends, and a tool that
// runs meanwhile ends with it.
TEST_F(TerminalUiTest, TerminalRestored)
{
    struct SCase {
        const char* name;
        const char* keys; // nullptr: the signal to the program
        int nSignal;
        bool bToolRuns;
    };
    const SCase cases[] = {
        {"Escape", "Escape", 0, false},
        {"SIGTERM", nullptr, SIGTERM, false},
        {"Ctrl-C", "C-c", SIGINT, false},
        {"Ctrl-C during the run", "C-c", SIGINT, true},
        {"SIGTERM during the run", nullptr, SIGTERM, true},
        {"SIGHUP during the run", nullptr, SIGHUP, true},
        {"SIGQUIT during the run", nullptr, SIGQUIT, true},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.name);
        CDialogInTmux t({LVP_FAKE_TOOL, "o.jpg", "95", "pidfile:tool.pid", "out:l\u00e4uft\\n", "sleep:600000"});
        ASSERT_TRUE(t.WaitFor("Belichtungsreihen"));
        EXPECT_EQ(t.Ask("#{alternate_on}"), "1\n");
        if (c.bToolRuns) {
            t.Keys("Enter");
            ASSERT_TRUE(t.WaitFor("l\u00e4uft"));
            ASSERT_TRUE(t.WaitForFile("tool.pid"));
        }
        if (c.keys)
            t.Keys(c.keys);
        else {
            ASSERT_TRUE(t.WaitForFile("pid"));
            ::kill(std::atoi(ReadFile(t.Dir() / "pid").c_str()), c.nSignal);
        }
        std::string out;
        EXPECT_EQ(t.WaitForEnd(out), c.nSignal ? 128 + c.nSignal : 0);
        if (c.bToolRuns) {
            EXPECT_TRUE(ProcessEnded(std::atoi(ReadFile(t.Dir() / "tool.pid").c_str()))) << "no orphan";
        }
        EXPECT_EQ(ReadFile(t.Dir() / "after"), ReadFile(t.Dir() / "before"));
        EXPECT_EQ(t.Ask("#{alternate_on}"), "0\n");
        EXPECT_EQ(t.Ask("#{cursor_flag}"), "1\n") << "the cursor is shown again";
    }
}

// Without a controlling terminal: no dialog (-1 at once), message boxes on standard error.
TEST(TerminalUiNoTerminal, DialogFailsAndMessagesGoToStandardError)
{
    struct SCase {
        std::vector<std::string> args;
        const char* stdoutText;
        const char* stderrText;
    };
    const SCase cases[] = {
        {{"/bin/true", "/tmp/o.jpg", "95", "a.jpg"}, "result -1\n", ""},
        // The caption is the file name of the module holding the code: here the program.
        {{"--message"},
         "message shown\n",
         "terminal_dialog_run: Das Programm \"Enfuse\" konnte nicht gefunden werden.\n"},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.args[0]);
        const TempDir temp;
        const fs::path& dir = temp.path();
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, (dir / "out").c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        posix_spawn_file_actions_addopen(&actions, 2, (dir / "err").c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        posix_spawnattr_t attr;
        posix_spawnattr_init(&attr);
        posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSID); // a new session has no terminal
        std::vector<std::string> args{LVP_TERMINAL_RUN};
        args.insert(args.end(), c.args.begin(), c.args.end());
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        pid_t pid = 0;
        ASSERT_EQ(::posix_spawn(&pid, LVP_TERMINAL_RUN, &actions, &attr, argv.data(), environ), 0);
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attr);
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        EXPECT_EQ(ReadFile(dir / "out").substr(0, std::string(c.stdoutText).size()), c.stdoutText);
        std::string err = ReadFile(dir / "err");
        EXPECT_EQ(err.substr(0, std::string(c.stderrText).size()), c.stderrText) << err;
    }
}
} // namespace
} // namespace lvp

namespace lvp {
namespace {
// Escape during the alignment stops align_image_stack with everything it started; no question
// follows and enfuse does not run.
TEST_F(TerminalUiTest, EscapeStopsTheAlignment)
{
    // The program runs in a folder of its own: its pid file needs a full path.
    const TempDir temp;
    const fs::path pidFile = temp.path() / "align.pid";
    CDialogInTmux t({LVP_FAKE_HUGIN_ENFUSE, "o.jpg", "95", "out:fused\\n", "align:pidfile:" + pidFile.string(),
                     "align:out:richte aus\\n", "align:sleep:600000"});
    ASSERT_TRUE(t.WaitFor("[x] Bilder"));
    t.Keys("Enter");
    ASSERT_TRUE(t.WaitFor("richte aus"));
    const pid_t pid = std::atoi(ReadFile(pidFile).c_str());
    fs::remove(pidFile);
    ASSERT_GT(pid, 0);
    t.Keys("Escape");
    ASSERT_TRUE(t.WaitFor("Abgebrochen."));
    EXPECT_TRUE(ProcessEnded(pid));
    const std::string screen = t.Screen();
    EXPECT_EQ(screen.find("fused"), std::string::npos) << screen;
    EXPECT_EQ(screen.find("Möchten Sie"), std::string::npos);
    t.Keys("Enter");
    std::string out;
    ASSERT_EQ(t.WaitForEnd(out), 0);
    EXPECT_EQ(out.substr(0, 19), "result 1\noutcome 2\n");
    EXPECT_FALSE(fs::exists(t.Dir() / "o.jpg"));
}
} // namespace
} // namespace lvp
