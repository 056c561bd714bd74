// Windows: CreateProcessW with one anonymous pipe as standard output and standard error.
#include "platform/process.h"

#include "platform/win32/scoped.h"

#include <utility>
#include <vector>

namespace platform {
using win32::CAutoHandle;
namespace {
HANDLE H(std::intptr_t v)
{
    return reinterpret_cast<HANDLE>(v);
}

constexpr size_t kMaxCommandLine = 32767; // CreateProcessW's limit, terminator included
// While the pipe is empty: how long to wait for a paint message before looking again, and how
// many paints to handle at a time (a window that never validates would keep asking).
constexpr DWORD kPollMilliseconds = 1;
constexpr int kMaxPaintsPerPoll = 16;
} // namespace

// The run happens on the user-interface thread. A blocking read would leave its message queue
// unread while the tool is silent, and after 5 seconds Windows would replace the window with
// a "not responding" ghost. So the pipe is polled, and in between only paint messages are
// handled: input stays queued until the run is over.
bool CPipeReadEnd::Read(char* buffer, std::size_t size, std::size_t& nRead)
{
    nRead = 0;
    const HANDLE hPipe = H(Get());
    for (;;) {
        DWORD nAvailable = 0;
        // Fails once every write end is closed and the pipe is empty.
        if (!PeekNamedPipe(hPipe, nullptr, 0, nullptr, &nAvailable, nullptr))
            return false;
        if (nAvailable > 0) {
            DWORD got = 0;
            DWORD want = size < nAvailable ? static_cast<DWORD>(size) : nAvailable;
            BOOL ok = ReadFile(hPipe, buffer, want, &got, nullptr);
            nRead = ok ? got : 0;
            return ok != FALSE;
        }
        // Looking at the queue is what tells the system that the thread is alive.
        MsgWaitForMultipleObjects(0, nullptr, FALSE, kPollMilliseconds, QS_PAINT);
        MSG msg;
        for (int i = 0; i < kMaxPaintsPerPoll && PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE);
             ++i)
            DispatchMessageW(&msg);
    }
}

void SPipeTraits::Free(std::intptr_t native)
{
    ::CloseHandle(H(native));
}

void SProcessTraits::Free(std::intptr_t native)
{
    ::CloseHandle(H(native));
}

bool IsCommandLineTooLong(const SCommandLine& command)
{
    return command.strCommandLine.size() + 1 > kMaxCommandLine;
}

CProcess StartProcessWithPipe(const SCommandLine& command, CPipeReadEnd& readEnd)
{
    readEnd.Close();
    if (IsCommandLineTooLong(command))
        return {};
    CAutoHandle hRead, hWrite, hStdOut, hStdErr;
    if (!CreatePipe(hRead.Out(), hWrite.Out(), nullptr, 0))
        return {};
    HANDLE hSelf = GetCurrentProcess();
    if (!DuplicateHandle(hSelf, hWrite.Get(), hSelf, hStdOut.Out(), 0, TRUE, DUPLICATE_SAME_ACCESS) ||
        !DuplicateHandle(hSelf, hStdOut.Get(), hSelf, hStdErr.Out(), 0, TRUE, DUPLICATE_SAME_ACCESS))
        return {};
    hWrite.Reset();

    STARTUPINFOW si{};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    si.wShowWindow = SW_HIDE;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    si.hStdOutput = hStdOut.Get();
    si.hStdError = hStdErr.Get();

    // CreateProcessW may write into the command line, so it gets its own copy, sized to it.
    std::vector<wchar_t> buffer(command.strCommandLine.begin(), command.strCommandLine.end());
    buffer.push_back(L'\0');
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, TRUE, CREATE_NEW_CONSOLE, nullptr, nullptr,
                        &si, &pi))
        return {};
    CAutoHandle hThread(pi.hThread);
    readEnd = CPipeReadEnd(reinterpret_cast<std::intptr_t>(hRead.Release()));
    return CProcess(reinterpret_cast<std::intptr_t>(pi.hProcess));
}
} // namespace platform
