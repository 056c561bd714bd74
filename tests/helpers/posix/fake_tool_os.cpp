// The fake program's OS services on POSIX.
#include "tests/helpers/fake_tool.h"

#include <chrono>
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
} // namespace fake_tool
