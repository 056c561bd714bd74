// Starting a program with its standard output and error in one pipe, and the handles of the run.
// Implemented by platform/posix/process.cpp and platform/win32/process.cpp.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {
// A program to start, in both forms: Windows starts strCommandLine (first token the quoted
// program); POSIX starts args (args[0] the program), with no shell and no quoting.
struct SCommandLine {
    std::u16string strCommandLine;
    std::vector<std::u16string> args;
};

// The read end of the pipe; closes it on destruction.
class CPipeReadEnd {
public:
    static constexpr std::intptr_t kInvalid = -1; // INVALID_HANDLE_VALUE, or no descriptor
    CPipeReadEnd() = default;
    explicit CPipeReadEnd(std::intptr_t native) : m_native(native) {}
    CPipeReadEnd(CPipeReadEnd&& other) noexcept : m_native(other.Release()) {}
    CPipeReadEnd& operator=(CPipeReadEnd&& other) noexcept
    {
        if (this != &other) {
            Close();
            m_native = other.Release();
        }
        return *this;
    }
    ~CPipeReadEnd() { Close(); }

    bool IsValid() const { return m_native != kInvalid; }
    std::intptr_t Native() const { return m_native; }
    // Waits until bytes arrive (Windows: handling the thread's paint messages meanwhile, and
    // no other message); false once every write end is closed, or on any read error.
    // A true result may carry 0 bytes (an empty write of the other side).
    bool Read(char* buffer, std::size_t size, std::size_t& nRead);
    void Close();
    std::intptr_t Release()
    {
        std::intptr_t v = m_native;
        m_native = kInvalid;
        return v;
    }

private:
    std::intptr_t m_native = kInvalid;
};

// The started process; releases what refers to it on destruction without waiting for it.
class CProcess {
public:
    CProcess() = default;
    explicit CProcess(std::intptr_t native) : m_native(native) {}
    CProcess(CProcess&& other) noexcept : m_native(other.m_native) { other.m_native = 0; }
    CProcess& operator=(CProcess&& other) noexcept
    {
        if (this != &other) {
            Close();
            m_native = other.m_native;
            other.m_native = 0;
        }
        return *this;
    }
    ~CProcess() { Close(); }

    explicit operator bool() const { return m_native != 0; }
    std::intptr_t Native() const { return m_native; }
    void Close();

private:
    std::intptr_t m_native = 0; // Windows: process handle; POSIX: process id (nothing to release)
};

// True when the system would refuse the command line as too long (Windows: 32 767 characters
// with the terminator; POSIX: arguments and environment beyond the argument space).
bool IsCommandLineTooLong(const SCommandLine& command);

// Starts the program with both its standard output and standard error on the write end of
// one new pipe and the caller's standard input, hidden, in a console (session) of its own.
// On success returns the process and readEnd holds the pipe's read end; on failure (also a
// command line that is too long) returns no process and readEnd is invalid.
CProcess StartProcessWithPipe(const SCommandLine& command, CPipeReadEnd& readEnd);
} // namespace platform
