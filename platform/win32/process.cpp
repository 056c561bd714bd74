// Windows: CreateProcessW of the program's file with one anonymous pipe as standard output and
// standard error, the program in a job object that is killed with its last handle.
#include "platform/real_os.h"

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
std::intptr_t N(HANDLE h)
{
    return reinterpret_cast<std::intptr_t>(h);
}

constexpr size_t kMaxCommandLine = 32767; // CreateProcessW's limit, terminator included

// A job whose processes all end when its last handle is closed; empty when none can be made.
CAutoHandle MakeKillOnCloseJob()
{
    CAutoHandle hJob(CreateJobObjectW(nullptr, nullptr));
    if (!hJob)
        return hJob;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!SetInformationJobObject(hJob.Get(), JobObjectExtendedLimitInformation, &limits, sizeof limits))
        hJob.Reset();
    return hJob;
}
} // namespace

void SPipeTraits::Free(std::intptr_t native)
{
    ::CloseHandle(H(native));
}

// Closing the job kills what still runs in it; a program outside a job is terminated here.
void SProcessTraits::Free(const SProcessRef& ref)
{
    if (ref.nJob) {
        ::CloseHandle(H(ref.nJob));
    } else if (WaitForSingleObject(H(ref.nProcess), 0) == WAIT_TIMEOUT) {
        ::TerminateProcess(H(ref.nProcess), 1);
    }
    ::CloseHandle(H(ref.nProcess));
}

bool CRealOs::IsCommandLineTooLong(const SCommandLine& command) const
{
    return command.strCommandLine.size() + 1 > kMaxCommandLine;
}

CProcess CRealOs::StartProcessWithPipe(const SCommandLine& command, CPipeReadEnd& readEnd,
                                       std::u16string& strError) const
{
    readEnd.Close();
    strError.clear();
    if (command.args.empty() || CRealOs::IsCommandLineTooLong(command))
        return {};
    auto fail = [&strError] {
        strError = win32::ErrorText(GetLastError());
        return CProcess();
    };
    // Exactly the file named is started: CreateProcessW given the program's file searches
    // nothing and appends no ".exe". A bare name is refused, as it would be read against the
    // current folder alone; finding the program is the caller's.
    const std::u16string& program = command.args[0];
    if (program.find_first_of(u"\\/:") == std::u16string::npos) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return fail();
    }
    CAutoHandle hRead, hWrite, hStdOut, hStdErr;
    if (!CreatePipe(hRead.Out(), hWrite.Out(), nullptr, 0))
        return fail();
    HANDLE hSelf = GetCurrentProcess();
    if (!DuplicateHandle(hSelf, hWrite.Get(), hSelf, hStdOut.Out(), 0, TRUE, DUPLICATE_SAME_ACCESS) ||
        !DuplicateHandle(hSelf, hStdOut.Get(), hSelf, hStdErr.Out(), 0, TRUE, DUPLICATE_SAME_ACCESS))
        return fail();
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
    // Suspended until it is in the job, so that nothing it starts escapes the job.
    const wchar_t* pFolder =
        command.strFolder.empty() ? nullptr : reinterpret_cast<const wchar_t*>(command.strFolder.c_str());
    const wchar_t* pProgram = reinterpret_cast<const wchar_t*>(program.c_str());
    if (!CreateProcessW(pProgram, buffer.data(), nullptr, nullptr, TRUE, CREATE_NEW_CONSOLE | CREATE_SUSPENDED,
                        nullptr, pFolder, &si, &pi))
        return fail();
    CAutoHandle hThread(pi.hThread);
    CAutoHandle hJob = MakeKillOnCloseJob();
    // A host in a job that forbids nested jobs runs the tool without one: it is still
    // terminated on a stop, only what it starts is not.
    if (hJob && !AssignProcessToJobObject(hJob.Get(), pi.hProcess))
        hJob.Reset();
    CProcess process(SProcessRef{N(pi.hProcess), N(hJob.Release())});
    ResumeThread(hThread.Get());
    readEnd = CPipeReadEnd(N(hRead.Release()));
    return process;
}

// The run happens on the user-interface thread: while the pipe is empty this waits for the
// pipe in steps of a millisecond, and returns early when a message arrives for the thread, so
// that the caller can keep the windows painted and notice a stop.
EPipeRead CRealOs::ReadPipe(CPipeReadEnd& pipe, char* buffer, std::size_t size, std::size_t& nRead,
                            unsigned nMilliseconds) const
{
    nRead = 0;
    const HANDLE hPipe = H(pipe.Get());
    const ULONGLONG nStart = GetTickCount64();
    for (;;) {
        DWORD nAvailable = 0;
        // Fails once every write end is closed and the pipe is empty.
        if (!PeekNamedPipe(hPipe, nullptr, 0, nullptr, &nAvailable, nullptr))
            return EPipeRead::End;
        if (nAvailable > 0) {
            DWORD got = 0;
            DWORD want = size < nAvailable ? static_cast<DWORD>(size) : nAvailable;
            if (!ReadFile(hPipe, buffer, want, &got, nullptr))
                return EPipeRead::End;
            nRead = got;
            return EPipeRead::Data;
        }
        if (GetTickCount64() - nStart >= nMilliseconds)
            return EPipeRead::Idle;
        if (MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT) == WAIT_OBJECT_0)
            return EPipeRead::Idle;
    }
}

bool CRealOs::WaitForExit(CProcess& process, unsigned nMilliseconds, int& nExitCode) const
{
    const HANDLE hProcess = H(process.Get().nProcess);
    DWORD nWait = MsgWaitForMultipleObjects(1, &hProcess, FALSE, nMilliseconds, QS_ALLINPUT);
    if (nWait != WAIT_OBJECT_0 && WaitForSingleObject(hProcess, 0) != WAIT_OBJECT_0)
        return false;
    DWORD nCode = 0;
    nExitCode = GetExitCodeProcess(hProcess, &nCode) ? static_cast<int>(nCode) : -1;
    return true;
}

void CRealOs::StopProcess(CProcess& process) const
{
    const SProcessRef ref = process.Get();
    if (ref.nJob)
        TerminateJobObject(H(ref.nJob), 1);
    else
        TerminateProcess(H(ref.nProcess), 1);
    WaitForSingleObject(H(ref.nProcess), 5000);
    process.Reset();
}
} // namespace platform
