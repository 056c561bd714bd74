// The fake program's OS services on POSIX.
#include "tests/helpers/fake_tool.h"

#include <chrono>
#include <climits>
#include <csignal>
#include <thread>
#include <unistd.h>

namespace fake_tool {
std::vector<std::string> Arguments(int argc, char** argv)
{
    return std::vector<std::string>(argv + 1, argv + argc);
}

void SetBinaryOutput() {}

bool StartGrandchild(int nMilliseconds)
{
    pid_t pid = ::fork();
    if (pid < 0)
        return false;
    if (pid == 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(nMilliseconds));
        static const char text[] = "grandchild done\n";
        ssize_t n = ::write(1, text, sizeof text - 1);
        ::_exit(n < 0 ? 1 : 0);
    }
    return true;
}

void IgnoreTermination()
{
    ::signal(SIGTERM, SIG_IGN);
}

unsigned long ProcessId()
{
    return static_cast<unsigned long>(::getpid());
}

std::string OwnFile()
{
    char path[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path);
    if (n <= 0 || static_cast<size_t>(n) >= sizeof path)
        return {};
    return std::string(path, static_cast<size_t>(n));
}
} // namespace fake_tool
