// CChild on Windows: CreateProcessW of the own executable, TerminateProcess, the exit code.
#include "platform/win32/windows_prelude.h"

#include "tests/settings/child.h"

#include <string>

#include "platform/os.h"
#include "platform/utf.h"
#include "platform/win32/scoped.h"

namespace {
std::wstring Wide(const std::string& text)
{
    const std::u16string u = platform::Utf8ToUtf16(text);
    return std::wstring(u.begin(), u.end());
}
} // namespace

CChild::CChild(const std::string& test, const std::string& name, const std::string& value)
{
    const std::u16string exe = platform::RealOs().ExecutablePath();
    std::wstring command = L"\"" + std::wstring(exe.begin(), exe.end()) + L"\" --gtest_filter=" + Wide(test);
    // The child inherits the variable; the parent's own environment is put back at once.
    const std::wstring var = Wide(name);
    SetEnvironmentVariableW(var.c_str(), Wide(value).c_str());
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    platform::win32::CAutoHandle null(CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                  &inherit, OPEN_EXISTING, 0, nullptr));
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    si.hStdOutput = null.Get();
    si.hStdError = null.Get();
    PROCESS_INFORMATION pi = {};
    if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
        platform::win32::CAutoHandle thread(pi.hThread);
        m_native = reinterpret_cast<std::intptr_t>(pi.hProcess);
        m_nId = pi.dwProcessId;
    }
    SetEnvironmentVariableW(var.c_str(), nullptr);
}

CChild::~CChild()
{
    if (Started() && !m_bWaited) {
        Kill();
        Wait();
    }
    platform::win32::CAutoHandle process(reinterpret_cast<HANDLE>(m_native));
}

void CChild::Kill()
{
    if (Started() && !m_bWaited)
        TerminateProcess(reinterpret_cast<HANDLE>(m_native), 9);
}

int CChild::Wait()
{
    if (!Started() || m_bWaited)
        return -1;
    const HANDLE process = reinterpret_cast<HANDLE>(m_native);
    WaitForSingleObject(process, INFINITE);
    m_bWaited = true;
    DWORD code = 0;
    return GetExitCodeProcess(process, &code) && code != 9 ? static_cast<int>(code) : -1;
}
