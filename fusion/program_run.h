// One program run with its output passed on as it arrives: started, read to the end of its
// pipe, waited for; a stop ends it with everything it started. CProgramRun does it in steps
// (several runs can be polled in turn from one thread); RunProgram drives one to its end.
#pragma once
#include "platform/os.h"

#include <chrono>
#include <functional>
#include <string>
#include <string_view>

namespace lvp {
class CRunObserver;

enum class EProgramEnd { NotStarted, Stopped, Ended };
struct SProgramRun {
    EProgramEnd end = EProgramEnd::NotStarted;
    int nExitCode = -1;
    std::u16string strError; // NotStarted: the system's reason
    bool bOpenLine = false;  // the last text passed on has no line break
};

// How long a read or wait of a run driven alone lasts before the next look at the user.
constexpr unsigned kPollMilliseconds = 50;

// The bytes of a line are converted together, so that characters of several bytes survive, and
// complete lines are passed on together: as soon as the program pauses, else every 100 ms (an
// edit control may take time in proportion to its whole text for every addition). The text after
// the last line break follows when the output ends (also when it is empty). What one read brings
// is passed on at the next Poll, so a Stop right after a read drops that read's bytes.
class CProgramRun {
public:
    CProgramRun(const platform::COs& os, CRunObserver& observer) : m_os(os), m_observer(observer) {}
    CProgramRun(const CProgramRun&) = delete;
    CProgramRun& operator=(const CProgramRun&) = delete;

    // Starts the program (a run that ended before may start another); false when it could not
    // be started: Result() then says why.
    bool Start(const platform::SCommandLine& command);
    // Waits at most nMilliseconds for output (passing on what came before) or, once the output
    // has ended, for the program's end; true when the run is over (also when it never started).
    bool Poll(unsigned nMilliseconds);
    // Stops a running program and everything it started; the complete lines read before the
    // last read are passed on.
    void Stop();
    bool Running() const { return static_cast<bool>(m_process); }
    // Receives the bytes of each read as it arrives, before they are passed on as text.
    void SetOutputListener(std::function<void(std::string_view)> listener)
    {
        m_listener = std::move(listener);
    }
    const SProgramRun& Result() const { return m_result; }

private:
    void PassHeld();
    void AddComplete();
    void Close();

    const platform::COs& m_os;
    CRunObserver& m_observer;
    SProgramRun m_result;
    platform::CPipeReadEnd m_pipe;
    platform::CProcess m_process;
    bool m_bOutputEnded = false;
    std::string m_buffer;      // the last read
    bool m_bHeld = false;      // it is not yet passed on
    size_t m_nHeld = 0;        // the bytes it brought
    bool m_bIdle = false;      // it found the program pausing
    std::string m_pending;     // bytes after the last line feed
    std::u16string m_complete; // lines not yet passed on
    std::chrono::steady_clock::time_point m_lastAdd;
    std::function<void(std::string_view)> m_listener;
};

SProgramRun RunProgram(const platform::COs& os, CRunObserver& observer,
                       const platform::SCommandLine& command);
} // namespace lvp
