// CChild: this test executable started again in a child mode (one of its tests), to be waited
// for or killed. Implemented by tests/settings/posix/child.cpp and tests/settings/win32/child.cpp.
#pragma once
#include <cstdint>
#include <string>

class CChild {
public:
    // Runs the executable with --gtest_filter=test and name=value added to its environment;
    // its output is thrown away.
    CChild(const std::string& test, const std::string& name, const std::string& value);
    // Kills the child if it still runs, and waits for it.
    ~CChild();
    CChild(const CChild&) = delete;
    CChild& operator=(const CChild&) = delete;

    bool Started() const { return m_native != 0; }
    uint32_t Id() const { return m_nId; }
    // Ends the child at once (SIGKILL, TerminateProcess).
    void Kill();
    // Waits for the end; the exit status, or -1 when it was killed or never started.
    int Wait();

private:
    std::intptr_t m_native = 0; // POSIX: process id; Windows: process handle
    uint32_t m_nId = 0;
    bool m_bWaited = false;
};
