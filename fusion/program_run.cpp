// Reads a program's pipe to its end, passes its output on line by line, and waits for its exit code.
#include "fusion/program_run.h"

#include "fusion/bracket_run.h"
#include "platform/locale.h"

#include <string_view>
#include <utility>

namespace lvp {
namespace {
constexpr auto kAddInterval = std::chrono::milliseconds(100);
constexpr size_t kReadSize = 16384;
} // namespace

bool CProgramRun::Start(const platform::SCommandLine& command)
{
    Close();
    m_result = SProgramRun{};
    m_bOutputEnded = false;
    m_bHeld = false;
    m_buffer.assign(kReadSize, '\0');
    m_pending.clear();
    m_complete.clear();
    m_lastAdd = std::chrono::steady_clock::now();
    m_process = m_os.StartProcessWithPipe(command, m_pipe, m_result.strError);
    if (!m_process)
        return false;
    m_result.end = EProgramEnd::Ended;
    return true;
}

void CProgramRun::AddComplete()
{
    if (!m_complete.empty())
        m_observer.AddText(m_complete);
    m_complete.clear();
    m_lastAdd = std::chrono::steady_clock::now();
}

void CProgramRun::PassHeld()
{
    const size_t nOld = m_pending.size(); // holds no line feed
    for (size_t i = 0; i < m_nHeld; ++i) {
        // A zero byte has always added nothing; inside a line it would cut the line short.
        if (m_buffer[i] != '\0')
            m_pending += m_buffer[i];
    }
    const size_t nLast = std::string_view(m_pending).substr(nOld).rfind('\n');
    if (nLast != std::string_view::npos) {
        const size_t nComplete = nOld + nLast + 1;
        m_complete += platform::NarrowToUtf16(std::string_view(m_pending).substr(0, nComplete));
        m_pending.erase(0, nComplete);
    }
    if (m_bIdle || std::chrono::steady_clock::now() - m_lastAdd >= kAddInterval)
        AddComplete();
}

bool CProgramRun::Poll(unsigned nMilliseconds)
{
    if (!m_process)
        return true;
    if (!m_bOutputEnded) {
        if (std::exchange(m_bHeld, false))
            PassHeld();
        const platform::EPipeRead got =
            m_os.ReadPipe(m_pipe, m_buffer.data(), m_buffer.size(), m_nHeld, nMilliseconds);
        if (got != platform::EPipeRead::End) {
            if (m_listener && m_nHeld > 0)
                m_listener(std::string_view(m_buffer.data(), m_nHeld));
            m_bHeld = true;
            m_bIdle = got == platform::EPipeRead::Idle;
            return false;
        }
        m_bOutputEnded = true;
        AddComplete();
        m_observer.AddText(platform::NarrowToUtf16(m_pending));
        m_result.bOpenLine = !m_pending.empty();
    }
    if (!m_os.WaitForExit(m_process, nMilliseconds, m_result.nExitCode))
        return false;
    Close();
    return true;
}

void CProgramRun::Stop()
{
    if (!m_process)
        return;
    if (!m_bOutputEnded) {
        AddComplete();
        m_result.bOpenLine = false;
    }
    m_os.StopProcess(m_process);
    m_result.end = EProgramEnd::Stopped;
    Close();
}

void CProgramRun::Close()
{
    m_pipe.Close();
    m_process.Close();
    m_bHeld = false;
}

SProgramRun RunProgram(const platform::COs& os, CRunObserver& observer, const platform::SCommandLine& command)
{
    CProgramRun run(os, observer);
    if (run.Start(command)) {
        while (!run.Poll(kPollMilliseconds)) {
            if (observer.StopRequested()) {
                run.Stop();
                break;
            }
        }
    }
    return run.Result();
}
} // namespace lvp
