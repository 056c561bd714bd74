// What the Wine test drivers do to the windows of another process: wait for a state, read a
// window's text, print what they saw as UTF-8.
#pragma once
#include "platform/win32/windows_prelude.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace lvp::test {
// Polls until ready() holds; gives up after 60 seconds (a slow Wine start is a few seconds).
template <typename F> bool WaitFor(F ready, std::chrono::milliseconds limit = std::chrono::seconds(60))
{
    auto until = std::chrono::steady_clock::now() + limit;
    while (!ready()) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

// The text of a window of another process; its thread may be busy, hence the timeout.
inline std::wstring TextOf(HWND hWnd)
{
    DWORD_PTR n = 0;
    if (!SendMessageTimeoutW(hWnd, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 2000, &n))
        return L"";
    std::vector<wchar_t> text(n + 1);
    DWORD_PTR got = 0;
    SendMessageTimeoutW(hWnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_NORMAL,
                        2000, &got);
    return std::wstring(text.data(), got);
}

// One line "label: text" on standard output, in UTF-8.
inline void Print(const char* label, const std::wstring& text)
{
    int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                nullptr);
    std::string utf8(static_cast<size_t>(n > 0 ? n : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), n, nullptr,
                        nullptr);
    std::printf("%s: %s\n", label, utf8.c_str());
    std::fflush(stdout);
}
} // namespace lvp::test
