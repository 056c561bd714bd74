// Starting a program with its standard output and error in one pipe, reading the pipe, and
// waiting for or stopping the program with everything it started.
// Implemented by platform/posix/process.cpp and platform/win32/process.cpp; callers reach it
// through COs (platform/os.h).
#pragma once
#include "platform/scoped.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {
// A program to start, in both forms: Windows starts strCommandLine (first token the quoted
// program); POSIX starts args (args[0] the program), with no shell and no quoting. It runs in
// strFolder, or in the caller's current folder when that is empty.
struct SCommandLine {
    std::u16string strCommandLine;
    std::vector<std::u16string> args;
    std::u16string strFolder;
};

// The read end of the pipe: a descriptor (POSIX) or handle (Windows) as a number; -1 is none.
struct SPipeTraits {
    using Type = std::intptr_t;
    static std::intptr_t Invalid() { return -1; }
    static bool IsValid(std::intptr_t native) { return native != -1; }
    static void Free(std::intptr_t native); // closes it
};
// The started program: Windows its process handle and the job object that holds it and what
// it starts; POSIX its process id, which is also the id of its process group (nJob unused).
struct SProcessRef {
    std::intptr_t nProcess = 0;
    std::intptr_t nJob = 0;
    bool operator==(const SProcessRef&) const = default;
};
struct SProcessTraits {
    using Type = SProcessRef;
    static SProcessRef Invalid() { return {}; }
    static bool IsValid(const SProcessRef& ref) { return ref.nProcess != 0; }
    // A program that has not been waited for is stopped with all it started, and reaped.
    static void Free(const SProcessRef& ref);
};

// The read end of the pipe; closes it on destruction.
class CPipeReadEnd : public CScoped<SPipeTraits> {
public:
    using CScoped::CScoped;
    void Close() { Reset(); }
};

// The started program; on destruction, stops it (and what it started) unless it has ended and
// been waited for, so that nothing outlives its owner.
class CProcess : public CScoped<SProcessTraits> {
public:
    using CScoped::CScoped;
    void Close() { Reset(); }
};

enum class EPipeRead {
    Data, // nRead bytes arrived (possibly 0, an empty write)
    Idle, // nothing arrived in the time given (Windows: or a message for the thread is waiting)
    End,  // every write end is closed, or the pipe failed
};

// True when the system would refuse the command line as too long (Windows: 32 767 characters
// with the terminator; POSIX: arguments and environment beyond the argument space).
bool IsCommandLineTooLong(const SCommandLine& command);

// Starts the program with both its standard output and standard error on the write end of
// one new pipe and the caller's standard input, hidden, in a console (session) of its own,
// as the leader of what it starts (POSIX: its own process group; Windows: a job object that is
// killed when its last handle closes). On success returns the process and readEnd holds the
// pipe's read end; on failure returns no process, readEnd is invalid and strError holds the
// system's reason (empty for a command line that is too long).
CProcess StartProcessWithPipe(const SCommandLine& command, CPipeReadEnd& readEnd, std::u16string& strError);

// Waits at most nMilliseconds for bytes on the pipe and reads what is there.
EPipeRead ReadPipe(CPipeReadEnd& pipe, char* buffer, std::size_t size, std::size_t& nRead,
                   unsigned nMilliseconds);

// Waits at most nMilliseconds for the program to end; true once it has, with its exit code
// (POSIX: 128 + the signal that ended it; -1 when it cannot be known). After true the holder
// is empty (POSIX) or holds only what its release closes (Windows).
bool WaitForExit(CProcess& process, unsigned nMilliseconds, int& nExitCode);

// Stops the program and everything it started (POSIX: SIGTERM to the group, SIGKILL after
// 2 seconds; Windows: the job is terminated), without waiting for the pipe.
void StopProcess(CProcess& process);
} // namespace platform
