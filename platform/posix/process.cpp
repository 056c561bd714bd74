// POSIX: the program started in a session of its own with one pipe as standard output and error.
#include "platform/process.h"
#include "platform/posix/scoped.h"

#include "platform/utf.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace platform {
namespace {
using posix::CAutoFd;

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

// The files to try for the program, as execvp would, found before forking so that the
// child only calls async-signal-safe functions.
std::vector<std::string> ProgramCandidates(const std::string& program)
{
    if (program.empty() || program.find('/') != std::string::npos)
        return {program};
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
    std::vector<std::string> out;
    size_t start = 0;
    for (;;) {
        size_t end = dirs.find(':', start);
        std::string dir = dirs.substr(start, end == std::string::npos ? std::string::npos : end - start);
        out.push_back((dir.empty() ? std::string(".") : dir) + "/" + program);
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return out;
}

[[noreturn]] void FailChild(int errorFd)
{
    int err = errno;
    ssize_t ignored = ::write(errorFd, &err, sizeof err);
    (void)ignored;
    ::_exit(127);
}

// Runs in the forked child: only async-signal-safe calls from here on.
[[noreturn]] void RunChild(int writeFd, int errorFd, char* const* argv,
                           const std::vector<std::string>& candidates)
{
    // A session of its own and no terminal: the counterpart of a hidden new console. The tool
    // runs in a second child, which is not a session leader and so never gains a terminal, and
    // whose parent ends at once, so the tool is never left as a zombie of the host.
    if (::setsid() < 0)
        FailChild(errorFd);
    pid_t pid = ::fork();
    if (pid < 0)
        FailChild(errorFd);
    if (pid > 0)
        ::_exit(0);
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    // Moved above 2 first, so that dup2 never meets itself and always clears close-on-exec.
    int fd = ::fcntl(writeFd, F_DUPFD_CLOEXEC, 3);
    if (fd < 0 || ::dup2(fd, 1) < 0 || ::dup2(fd, 2) < 0)
        FailChild(errorFd);
    int firstError = 0;
    for (const std::string& file : candidates) {
        ::execve(file.c_str(), argv, environ);
        if (errno != ENOENT && errno != ENOTDIR && firstError == 0)
            firstError = errno;
    }
    if (firstError != 0)
        errno = firstError;
    FailChild(errorFd);
}

long ArgumentSpace()
{
    long max = ::sysconf(_SC_ARG_MAX);
    return max > 0 ? max : 131072;
}
} // namespace

bool CPipeReadEnd::Read(char* buffer, std::size_t size, std::size_t& nRead)
{
    nRead = 0;
    for (;;) {
        ssize_t n = ::read(static_cast<int>(Get()), buffer, size);
        if (n > 0) {
            nRead = static_cast<size_t>(n);
            return true;
        }
        if (n < 0 && errno == EINTR)
            continue;
        return false; // the end of the output, or an error
    }
}

void SPipeTraits::Free(std::intptr_t native)
{
    ::close(static_cast<int>(native));
}

// The process is not waited for: it was handed to init when it started.
void SProcessTraits::Free(std::intptr_t) {}

bool IsCommandLineTooLong(const SCommandLine& command)
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

CProcess StartProcessWithPipe(const SCommandLine& command, CPipeReadEnd& readEnd)
{
    readEnd.Close();
    if (command.args.empty() || IsCommandLineTooLong(command))
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
    const std::vector<std::string> candidates = ProgramCandidates(args[0]);

    SPipe output, error;
    if (!output.Open() || !error.Open())
        return {};
    pid_t pid = ::fork();
    if (pid < 0)
        return {};
    if (pid == 0)
        RunChild(output.wr.Get(), error.wr.Get(), argv.data(), candidates);
    // From now on only the tool, and what it passes them to, holds the write ends.
    output.wr.Reset();
    error.wr.Reset();
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    // The error pipe ends without a word when the program has been started.
    int childErrno = 0;
    ssize_t n;
    while ((n = ::read(error.rd.Get(), &childErrno, sizeof childErrno)) < 0 && errno == EINTR) {
    }
    if (n != 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return {};
    readEnd = CPipeReadEnd(output.rd.Release());
    return CProcess(pid);
}
} // namespace platform
