// CChild on Linux: fork and exec of /proc/self/exe, SIGKILL, waitpid.
#include "tests/settings/child.h"

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

CChild::CChild(const std::string& test, const std::string& name, const std::string& value)
{
    const std::string filter = "--gtest_filter=" + test;
    const pid_t pid = fork();
    if (pid == 0) {
        setenv(name.c_str(), value.c_str(), 1);
        const int null = open("/dev/null", O_WRONLY);
        if (null >= 0) {
            dup2(null, 1);
            dup2(null, 2);
        }
        execl("/proc/self/exe", "child", filter.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    if (pid > 0) {
        m_native = pid;
        m_nId = static_cast<uint32_t>(pid);
    }
}

CChild::~CChild()
{
    if (Started() && !m_bWaited) {
        Kill();
        Wait();
    }
}

void CChild::Kill()
{
    if (Started() && !m_bWaited)
        kill(static_cast<pid_t>(m_native), SIGKILL);
}

int CChild::Wait()
{
    if (!Started() || m_bWaited)
        return -1;
    int status = 0;
    while (waitpid(static_cast<pid_t>(m_native), &status, 0) < 0) {
    }
    m_bWaited = true;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
