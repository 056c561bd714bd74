// What COs starts, reads and stops (platform/os.h): the command line, the pipe's read end and
// the started program, each in its holder. The holders' releases are implemented by
// platform/posix/process.cpp and platform/win32/process.cpp.
#pragma once
#include "platform/scoped.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {
// A program to start, in both forms: Windows starts strCommandLine (first token the quoted
// program); POSIX starts args (args[0] the program), with no shell and no quoting. Both start
// the file that args[0] names, a path with a separator that is never looked for along PATH (a
// relative one is the caller's current folder's). It runs in strFolder, or in the caller's
// current folder when that is empty.
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
} // namespace platform
