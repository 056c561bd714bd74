// Answers the first message box that another process (lvphost under Wine) shows: prints its
// caption and text as UTF-8 lines ("caption: ...", "text: ..."), then presses OK.
// Exit 0 when a box came and went, 1 when none came within a minute or it stayed.
#include "platform/win32/windows_prelude.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace {
constexpr int kMessageBoxText = 0xFFFF; // the static that holds a message box's text

template <typename F> bool WaitFor(F ready)
{
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!ready()) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

BOOL CALLBACK FindBox(HWND hWnd, LPARAM lParam)
{
    wchar_t cls[16] = {};
    GetClassNameW(hWnd, cls, 16);
    if (lstrcmpW(cls, L"#32770") != 0 || !IsWindowVisible(hWnd) || !GetDlgItem(hWnd, kMessageBoxText))
        return TRUE;
    *reinterpret_cast<HWND*>(lParam) = hWnd;
    return FALSE;
}

// The text of a window of another process; its thread may be busy, hence the timeout.
std::wstring TextOf(HWND hWnd)
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

void Print(const char* label, const std::wstring& text)
{
    int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                nullptr);
    std::string utf8(static_cast<size_t>(n > 0 ? n : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), n, nullptr,
                        nullptr);
    std::printf("%s: %s\n", label, utf8.c_str());
    std::fflush(stdout);
}
} // namespace

int main()
{
    HWND hBox = nullptr;
    if (!WaitFor([&] { return !EnumWindows(FindBox, reinterpret_cast<LPARAM>(&hBox)) && hBox; })) {
        std::printf("box_driver: no message box\n");
        return 1;
    }
    Print("caption", TextOf(hBox));
    Print("text", TextOf(GetDlgItem(hBox, kMessageBoxText)));
    PostMessageW(hBox, WM_COMMAND, IDOK, 0);
    if (!WaitFor([&] { return !IsWindow(hBox); })) {
        std::printf("box_driver: the box stayed\n");
        return 1;
    }
    return 0;
}
