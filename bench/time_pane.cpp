// Times the fusion dialog's output pane from OK to the closing message, for tools that write
// megabytes of output (links lvp_ui): Linux in a pseudo-terminal of 100 x 30 cells, Windows in
// real windows. Usage: time_pane FAKE_TOOL [MEGABYTES...] (default 1 8); a megabyte is 2^20 bytes.
#include "bench/bench_run.h"
#include "platform/utf.h"
#include "ui/sample_dlg.h"

#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#ifdef _WIN32
#include "platform/win32/windows_prelude.h"
#else
#include <cerrno>
#include <fstream>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {
using Clock = std::chrono::steady_clock;

// The dialog, with the time its OK takes: the whole run, up to the closing message in the pane.
class CTimedDlg : public lvp::CSampleDlg {
public:
    using CSampleDlg::CSampleDlg;
    double m_seconds = -1;

protected:
    bool OnInitDialog() override;
    void OnOK() override
    {
        if (m_bRunDone) {
            CSampleDlg::OnOK();
            return;
        }
        const Clock::time_point start = Clock::now();
        CSampleDlg::OnOK();
        m_seconds = std::chrono::duration<double>(Clock::now() - start).count();
    }
};

// Runs the dialog with a tool that writes nLines lines of 100 bytes; the seconds of the run.
double RunDialog(const std::string& tool, long nLines)
{
    const std::u16string step = platform::Utf8ToUtf16("lines:" + std::to_string(nLines));
    const std::vector<std::u16string> selection{step};
    CTimedDlg dlg(platform::RealOs(), lvp::DefaultUiBackend(), &selection, nullptr);
    dlg.m_strEnfusePath = platform::Utf8ToUtf16(tool);
    dlg.m_strOutputFile = BenchOutput();
    std::error_code ec;
    std::filesystem::remove(std::filesystem::path(BenchOutput()), ec); // no question before the run
    return dlg.DoModal() == lvp::kIdOk ? dlg.m_seconds : -1;
}

#ifdef _WIN32
// OK twice, as a person presses it: the first runs the tool, the second (handled once the run
// has returned) closes the dialog.
bool CTimedDlg::OnInitDialog()
{
    CSampleDlg::OnInitDialog();
    HWND hwnd = reinterpret_cast<HWND>(GetWindowId());
    ::PostMessageW(hwnd, WM_COMMAND, IDOK, 0);
    ::PostMessageW(hwnd, WM_COMMAND, IDOK, 0);
    return true;
}

double TimeOne(const char*, const std::string& tool, long nLines)
{
    return RunDialog(tool, nLines);
}
#else
bool CTimedDlg::OnInitDialog()
{
    return CSampleDlg::OnInitDialog();
}

// The dialog in a child on a new pseudo-terminal; this side reads (and drops) what it draws and
// types Enter twice once the dialog is on the screen. The child writes its time to a file.
double TimeOne(const char* self, const std::string& tool, long nLines)
{
    const std::string result = "time_pane_" + std::to_string(::getpid()) + ".txt";
    std::remove(result.c_str());
    winsize size{};
    size.ws_row = 30;
    size.ws_col = 100;
    int master = -1;
    const pid_t pid = ::forkpty(&master, nullptr, nullptr, &size);
    if (pid < 0)
        return -1;
    if (pid == 0) {
        if (!std::getenv("TERM"))
            ::setenv("TERM", "xterm-256color", 1);
        const std::string lines = std::to_string(nLines);
        ::execl(self, self, "--dialog", tool.c_str(), lines.c_str(), result.c_str(),
                static_cast<char*>(nullptr));
        ::_exit(127);
    }
    Clock::time_point firstOutput{}, lastEnter{};
    char buffer[65536];
    for (;;) {
        pollfd p{master, POLLIN, 0};
        const int r = ::poll(&p, 1, 100);
        if (r < 0 && errno != EINTR)
            break;
        if (r > 0) {
            const ssize_t n = ::read(master, buffer, sizeof buffer);
            if (n <= 0)
                break; // the child has gone (EIO on Linux)
            if (firstOutput == Clock::time_point{})
                firstOutput = Clock::now();
        }
        // Once the dialog has been drawn and has settled, Enter; then Enter again now and then
        // (keys typed during the run are dropped) until the finished dialog takes one and ends.
        if (firstOutput != Clock::time_point{} && Clock::now() - firstOutput > std::chrono::milliseconds(500) &&
            Clock::now() - lastEnter > std::chrono::milliseconds(300)) {
            if (::write(master, "\r", 1) == 1)
                lastEnter = Clock::now();
        }
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ::close(master);
    double seconds = -1;
    std::ifstream(result) >> seconds;
    std::remove(result.c_str());
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? seconds : -1;
}
#endif
} // namespace

int main(int argc, char** argv)
{
    std::setlocale(LC_ALL, "");
#ifndef _WIN32
    if (argc == 5 && std::string(argv[1]) == "--dialog") {
        const double seconds = RunDialog(argv[2], std::atol(argv[3]));
        std::FILE* f = std::fopen(argv[4], "w");
        if (!f)
            return 1;
        std::fprintf(f, "%.6f\n", seconds);
        std::fclose(f);
        return seconds < 0;
    }
#endif
    if (argc < 2) {
        std::fprintf(stderr, "usage: time_pane FAKE_TOOL [MEGABYTES...]\n");
        return 2;
    }
    std::vector<double> sizes;
    for (int i = 2; i < argc; ++i)
        sizes.push_back(std::atof(argv[i]));
    if (sizes.empty())
        sizes = {1, 8};
    std::vector<double> times;
    for (double mb : sizes) {
        const long nLines = static_cast<long>(mb * 1048576.0 / 100.0 + 0.5);
        const double seconds = TimeOne(argv[0], argv[1], nLines);
        if (seconds < 0) {
            std::fprintf(stderr, "%.2f MB: the dialog did not run to its end\n", mb);
            return 1;
        }
        times.push_back(seconds);
        std::printf("%6.2f MB (%ld lines of 100 bytes): OK to closing message %.3f s\n", mb, nLines, seconds);
        std::fflush(stdout);
    }
    if (times.size() > 1 && times.front() > 0)
        std::printf("growth: %.0fx the output took %.1fx as long\n", sizes.back() / sizes.front(),
                    times.back() / times.front());
    return 0;
}
