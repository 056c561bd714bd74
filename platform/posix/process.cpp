// POSIX: the program started in a session and process group of its own with one pipe as
// standard output and error; waited for, or stopped with its group.
#include "platform/posix/running_group.h"
#include "platform/posix/scoped.h"
#include "platform/real_os.h"

#include "platform/utf.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace platform {
namespace {
using posix::CAutoFd;

constexpr int kTermGraceMilliseconds = 2000; // SIGTERM, then SIGKILL
constexpr int kWaitStepMilliseconds = 10;

// The group of the program started last and not yet reaped (0: none), for signal handlers.
std::atomic<pid_t> g_runningGroup{0};
static_assert(std::atomic<pid_t>::is_always_lock_free);

// Both ends of a pipe, closed on every path unless taken.
struct SPipe {
    CAutoFd rd, wr;
    bool Open()
    {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0)
            return false;
        rd.Reset(fds[0]);
        wr.Reset(fds[1]);
        return true;
    }
};

[[noreturn]] void FailChild(int errorFd)
{
    int err = errno;
    ssize_t ignored = ::write(errorFd, &err, sizeof err);
    (void)ignored;
    ::_exit(127);
}

// Runs in the forked child: only async-signal-safe calls from here on.
[[noreturn]] void RunChild(pid_t parent, int writeFd, int errorFd, const char* file, char* const* argv,
                           const char* folder)
{
    // A session of its own and no terminal (the counterpart of a hidden new console); being
    // its leader, the tool also leads the process group in which everything it starts runs.
    if (::setsid() < 0)
        FailChild(errorFd);
    // The backstop for a host that dies without stopping the tool; the parent may have gone
    // between fork and here.
    if (::prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || ::getppid() != parent)
        FailChild(errorFd);
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    for (int sig : {SIGINT, SIGQUIT, SIGTERM, SIGHUP, SIGPIPE})
        (void)::signal(sig, SIG_DFL); // cannot fail for these signals
    // Moved above 2 first, so that dup2 never meets itself and always clears close-on-exec.
    int fd = ::fcntl(writeFd, F_DUPFD_CLOEXEC, 3);
    if (fd < 0 || ::dup2(fd, 1) < 0 || ::dup2(fd, 2) < 0 || (folder && ::chdir(folder) != 0))
        FailChild(errorFd);
    ::execve(file, argv, environ);
    FailChild(errorFd);
}

long ArgumentSpace()
{
    long max = ::sysconf(_SC_ARG_MAX);
    return max > 0 ? max : 131072;
}

void SleepMilliseconds(int n)
{
    timespec ts{n / 1000, (n % 1000) * 1000000L};
    while (::nanosleep(&ts, &ts) != 0 && errno == EINTR) {
    }
}

// The status of an ended program without reaping it (it stays a zombie, so its id and its
// group's id cannot be taken by another process meanwhile); false while it runs.
bool HasEnded(pid_t pid)
{
    siginfo_t info{};
    while (::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0) {
        if (errno != EINTR)
            return true; // not our child any more: nothing to wait for
    }
    return info.si_pid == pid;
}

int Reap(pid_t pid)
{
    pid_t expected = pid;
    g_runningGroup.compare_exchange_strong(expected, 0);
    int status = 0;
    pid_t got;
    while ((got = ::waitpid(pid, &status, 0)) < 0 && errno == EINTR) {
    }
    if (got != pid)
        return -1;
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
}

// SIGTERM to the group, SIGKILL to what is left of it after the grace time, then reaped.
void StopGroup(pid_t pid)
{
    ::kill(-pid, SIGTERM);
    for (int waited = 0; waited < kTermGraceMilliseconds && !HasEnded(pid); waited += kWaitStepMilliseconds)
        SleepMilliseconds(kWaitStepMilliseconds);
    ::kill(-pid, SIGKILL); // the leader, a zombie at most, keeps the group's id its own
    Reap(pid);
}
// The file that is started for the program named, or an errno value: exactly the file named. A
// name without a slash is not looked for along PATH (finding the program is the caller's), and a
// relative path is the caller's current folder's, not that of the folder the program runs in.
int FileToStart(const CRealOs& os, const std::u16string& program, std::string& file)
{
    file = Utf16ToUtf8(program);
    if (file.find('/') == std::string::npos)
        return ENOENT;
    if (file[0] != '/') {
        std::u16string full;
        errno = 0;
        if (!os.CRealOs::FullPath(program, full))
            return errno != 0 ? errno : ENOENT;
        file = Utf16ToUtf8(full);
    }
    return 0;
}
} // namespace

namespace posix {
void KillRunningGroupFromSignal() noexcept
{
    // The leader is not reaped before it leaves this variable, so the id is still its group's.
    if (const pid_t pid = g_runningGroup.load(); pid > 0)
        ::kill(-pid, SIGKILL);
}
} // namespace posix

void SPipeTraits::Free(std::intptr_t native)
{
    ::close(static_cast<int>(native));
}

void SProcessTraits::Free(const SProcessRef& ref)
{
    StopGroup(static_cast<pid_t>(ref.nProcess));
}

bool CRealOs::IsCommandLineTooLong(const SCommandLine& command) const
{
    // Each argument is limited on its own (Linux: 32 pages) and together with the environment.
    const long single = 32 * ::sysconf(_SC_PAGESIZE);
    long total = static_cast<long>(sizeof(char*));
    for (const std::u16string& arg : command.args) {
        long n = static_cast<long>(Utf16ToUtf8(arg).size()) + 1;
        if (n > single)
            return true;
        total += n + static_cast<long>(sizeof(char*));
    }
    for (char** env = environ; env && *env; ++env)
        total += static_cast<long>(std::strlen(*env)) + 1 + static_cast<long>(sizeof(char*));
    return total > ArgumentSpace();
}

CProcess CRealOs::StartProcessWithPipe(const SCommandLine& command, CPipeReadEnd& readEnd,
                                       std::u16string& strError) const
{
    readEnd.Close();
    strError.clear();
    if (command.args.empty() || CRealOs::IsCommandLineTooLong(command))
        return {};
    std::vector<std::string> args;
    args.reserve(command.args.size());
    for (const std::u16string& arg : command.args)
        args.push_back(Utf16ToUtf8(arg));
    std::vector<char*> argv;
    argv.reserve(args.size() + 1);
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    const std::string folder = Utf16ToUtf8(command.strFolder);

    auto fail = [&strError](int err) {
        strError = Utf8ToUtf16(std::strerror(err));
        return CProcess();
    };
    std::string file;
    if (const int err = FileToStart(*this, command.args[0], file); err != 0)
        return fail(err);
    SPipe output, error;
    if (!output.Open() || !error.Open())
        return fail(errno);
    const pid_t parent = ::getpid();
    pid_t pid = ::fork();
    if (pid < 0)
        return fail(errno);
    if (pid == 0)
        RunChild(parent, output.wr.Get(), error.wr.Get(), file.c_str(), argv.data(),
                 folder.empty() ? nullptr : folder.c_str());
    CProcess process(SProcessRef{pid, 0});
    g_runningGroup = pid;
    // From now on only the tool, and what it passes them to, holds the write ends.
    output.wr.Reset();
    error.wr.Reset();
    // The error pipe ends without a word when the program has been started.
    int childErrno = 0;
    ssize_t n;
    while ((n = ::read(error.rd.Get(), &childErrno, sizeof childErrno)) < 0 && errno == EINTR) {
    }
    if (n != 0) {
        Reap(static_cast<pid_t>(process.Release().nProcess));
        return fail(n == static_cast<ssize_t>(sizeof childErrno) ? childErrno : EIO);
    }
    readEnd = CPipeReadEnd(output.rd.Release());
    return process;
}

EPipeRead CRealOs::ReadPipe(CPipeReadEnd& pipe, char* buffer, std::size_t size, std::size_t& nRead,
                            unsigned nMilliseconds) const
{
    nRead = 0;
    pollfd pfd{static_cast<int>(pipe.Get()), POLLIN, 0};
    int ready = ::poll(&pfd, 1, static_cast<int>(nMilliseconds));
    if (ready == 0 || (ready < 0 && errno == EINTR))
        return EPipeRead::Idle;
    if (ready < 0)
        return EPipeRead::End;
    ssize_t n;
    while ((n = ::read(pfd.fd, buffer, size)) < 0 && errno == EINTR) {
    }
    if (n <= 0)
        return EPipeRead::End; // the end of the output, or an error
    nRead = static_cast<size_t>(n);
    return EPipeRead::Data;
}

bool CRealOs::WaitForExit(CProcess& process, unsigned nMilliseconds, int& nExitCode) const
{
    const pid_t pid = static_cast<pid_t>(process.Get().nProcess);
    for (unsigned waited = 0; !HasEnded(pid); waited += kWaitStepMilliseconds) {
        if (waited >= nMilliseconds)
            return false;
        SleepMilliseconds(kWaitStepMilliseconds);
    }
    nExitCode = Reap(static_cast<pid_t>(process.Release().nProcess));
    return true;
}

void CRealOs::StopProcess(CProcess& process) const
{
    process.Reset(); // the release stops the group
}
} // namespace platform
