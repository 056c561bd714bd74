// Windows: CreateProcessW with one anonymous pipe as standard output and standard error.
#include "platform/process.h"

#include <windows.h>

#include <vector>

namespace platform {
namespace {
HANDLE H(std::intptr_t v) { return reinterpret_cast<HANDLE>(v); }

// Closes a handle of StartProcessWithPipe on every path.
class CAutoHandle {
public:
    CAutoHandle() = default;
    CAutoHandle(const CAutoHandle&) = delete;
    CAutoHandle& operator=(const CAutoHandle&) = delete;
    ~CAutoHandle() { Close(); }
    HANDLE* Out() { return &m_h; }
    HANDLE Get() const { return m_h; }
    HANDLE Release()
    {
        HANDLE h = m_h;
        m_h = nullptr;
        return h;
    }
    void Close()
    {
        if (m_h != nullptr && m_h != INVALID_HANDLE_VALUE)
            CloseHandle(m_h);
        m_h = nullptr;
    }

private:
    HANDLE m_h = nullptr;
};

constexpr size_t kMaxCommandLine = 32767; // CreateProcessW's limit, terminator included
} // namespace

bool CPipeReadEnd::Read(char* buffer, std::size_t size, std::size_t& nRead)
{
    DWORD got = 0;
    DWORD want = size > MAXDWORD ? MAXDWORD : static_cast<DWORD>(size);
    BOOL ok = ReadFile(H(m_native), buffer, want, &got, nullptr);
    nRead = ok ? got : 0;
    return ok != FALSE;
}

void CPipeReadEnd::Close()
{
    if (m_native != kInvalid)
        CloseHandle(H(m_native));
    m_native = kInvalid;
}

void CProcess::Close()
{
    if (m_native != 0)
        CloseHandle(H(m_native));
    m_native = 0;
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
    hWrite.Close();

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
    CloseHandle(pi.hThread);
    readEnd = CPipeReadEnd(reinterpret_cast<std::intptr_t>(hRead.Release()));
    return CProcess(reinterpret_cast<std::intptr_t>(pi.hProcess));
}
} // namespace platform
