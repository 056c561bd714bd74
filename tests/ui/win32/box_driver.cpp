// Answers the first message box that another process (lvphost under Wine) shows: prints its
// caption and text as UTF-8 lines ("caption: ...", "text: ..."), then presses OK.
// Exit 0 when a box came and went, 1 when none came within a minute or it stayed.
#include "tests/helpers/win32/remote_window.h"

#include <cstdio>
#include <string>

namespace {
using lvp::test::Print;
using lvp::test::TextOf;
using lvp::test::WaitFor;
constexpr int kMessageBoxText = 0xFFFF; // the static that holds a message box's text

BOOL CALLBACK FindBox(HWND hWnd, LPARAM lParam)
{
    wchar_t cls[16] = {};
    GetClassNameW(hWnd, cls, 16);
    if (lstrcmpW(cls, L"#32770") != 0 || !IsWindowVisible(hWnd) || !GetDlgItem(hWnd, kMessageBoxText))
        return TRUE;
    *reinterpret_cast<HWND*>(lParam) = hWnd;
    return FALSE;
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
