// The fake program's OS services on Windows.
#include "tests/helpers/fake_tool.h"

#include "platform/win32/scoped.h"

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cstdio>

namespace fake_tool {
namespace {
std::string Utf8(const wchar_t* text)
{
    int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? static_cast<size_t>(n - 1) : 0, '\0');
    if (n > 1)
        WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
    return out;
}
} // namespace

std::vector<std::string> Arguments(int, char**)
{
    int argc = 0;
    platform::win32::CAutoLocal<LPWSTR*> argv(CommandLineToArgvW(GetCommandLineW(), &argc));
    std::vector<std::string> out;
    for (int i = 1; argv && i < argc; ++i)
        out.push_back(Utf8(argv.Get()[i]));
    return out;
}

void SetBinaryOutput()
{
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

bool StartGrandchild(int nMilliseconds)
{
    wchar_t self[MAX_PATH];
    if (GetModuleFileNameW(nullptr, self, MAX_PATH) == 0)
        return false;
    std::wstring line = L"\"" + std::wstring(self) + L"\" sleep:" + std::to_wstring(nMilliseconds) +
                        L" \"out:grandchild done\\n\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    si.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi))
        return false;
    platform::win32::CAutoHandle hThread(pi.hThread), hProcess(pi.hProcess);
    return true;
}

void IgnoreTermination() {}

unsigned long ProcessId()
{
    return GetCurrentProcessId();
}

std::string OwnFile()
{
    wchar_t self[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH);
    return n > 0 && n < MAX_PATH ? Utf8(self) : std::string();
}
} // namespace fake_tool
