// Starting a program with its standard output and error in one pipe, and the handles of the run.
// Implemented by platform/posix/process.cpp and platform/win32/process.cpp.
#pragma once
#include "platform/scoped.h"

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

// The read end of the pipe: a descriptor (POSIX) or handle (Windows) as a number; -1 is none.
struct SPipeTraits {
    using Type = std::intptr_t;
    static std::intptr_t Invalid() { return -1; }
    static bool IsValid(std::intptr_t native) { return native != -1; }
    static void Free(std::intptr_t native); // closes it
};
// The started process: a process handle (Windows) or id (POSIX, nothing to release); 0 is none.
struct SProcessTraits {
    using Type = std::intptr_t;
    static std::intptr_t Invalid() { return 0; }
    static bool IsValid(std::intptr_t native) { return native != 0; }
    // Releases what refers to the process, without waiting for it.
    static void Free(std::intptr_t native);
};

// The read end of the pipe; closes it on destruction.
class CPipeReadEnd : public CScoped<SPipeTraits> {
public:
    using CScoped::CScoped;
    // Waits until bytes arrive (Windows: handling the thread's paint messages meanwhile, and
    // no other message); false once every write end is closed, or on any read error.
    // A true result may carry 0 bytes (an empty write of the other side).
    bool Read(char* buffer, std::size_t size, std::size_t& nRead);
    void Close() { Reset(); }
};

// The started process; releases what refers to it on destruction without waiting for it.
class CProcess : public CScoped<SProcessTraits> {
public:
    using CScoped::CScoped;
    void Close() { Reset(); }
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
