// Reads a program's pipe to its end, passes its output on line by line, and waits for its exit code.
#include "fusion/program_run.h"

#include "fusion/bracket_run.h"
#include "platform/locale.h"

#include <chrono>

namespace lvp {
namespace {
constexpr unsigned kPollMilliseconds = 50; // how long a read or wait lasts before the next look at the user
constexpr auto kAddInterval = std::chrono::milliseconds(100);

// Passes the program's output on as it arrives until the pipe ends; false when the user stopped
// the run first.
bool PassOutput(const platform::COs& os, CRunObserver& observer, platform::CPipeReadEnd& pipe,
                bool& bOpenLine)
{
    using Clock = std::chrono::steady_clock;
    bOpenLine = false;
    std::string pending;     // bytes after the last line feed
    std::u16string complete; // lines not yet passed on
    Clock::time_point lastAdd = Clock::now();
    auto addComplete = [&] {
        if (!complete.empty())
            observer.AddText(complete);
        complete.clear();
        lastAdd = Clock::now();
    };
    std::string buffer(16384, '\0');
    size_t nRead = 0;
    for (;;) {
        platform::EPipeRead got = os.ReadPipe(pipe, buffer.data(), buffer.size(), nRead, kPollMilliseconds);
        if (got == platform::EPipeRead::End)
            break;
        if (observer.StopRequested()) {
            addComplete();
            return false;
        }
        const size_t nOld = pending.size(); // holds no line feed
        for (size_t i = 0; i < nRead; ++i) {
            // A zero byte has always added nothing; inside a line it would cut the line short.
            if (buffer[i] != '\0')
                pending += buffer[i];
        }
        size_t nLast = std::string_view(pending).substr(nOld).rfind('\n');
        if (nLast != std::string_view::npos) {
            size_t nComplete = nOld + nLast + 1;
            complete += platform::NarrowToUtf16(std::string_view(pending).substr(0, nComplete));
            pending.erase(0, nComplete);
        }
        if (got == platform::EPipeRead::Idle || Clock::now() - lastAdd >= kAddInterval)
            addComplete();
    }
    addComplete();
    observer.AddText(platform::NarrowToUtf16(pending));
    bOpenLine = !pending.empty();
    return true;
}

// Waits for the program after its output has ended; false when the user stopped it first.
bool WaitForProgram(const platform::COs& os, CRunObserver& observer, platform::CProcess& process,
                    int& nExitCode)
{
    while (!os.WaitForExit(process, kPollMilliseconds, nExitCode)) {
        if (observer.StopRequested())
            return false;
    }
    return true;
}
} // namespace

SProgramRun RunProgram(const platform::COs& os, CRunObserver& observer, const platform::SCommandLine& command)
{
    SProgramRun result;
    platform::CPipeReadEnd pipe;
    platform::CProcess process = os.StartProcessWithPipe(command, pipe, result.strError);
    if (!process)
        return result;
    result.end = EProgramEnd::Ended;
    if (!PassOutput(os, observer, pipe, result.bOpenLine) ||
        !WaitForProgram(os, observer, process, result.nExitCode)) {
        os.StopProcess(process);
        result.end = EProgramEnd::Stopped;
    }
    pipe.Close();
    process.Close();
    return result;
}
} // namespace lvp
