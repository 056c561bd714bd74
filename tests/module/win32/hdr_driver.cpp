// The user at the fusion dialog of another process (lvphost under Wine): finds the dialog by
// its title, reads and fills the fields, presses the buttons, answers a message box.
// Usage: hdr_driver MODULE confirm QUALITY | MODULE escape | MODULE message
// Prints what it saw as UTF-8 lines ("program: ...", "output: ...", "quality: ...", "pane: ...",
// "box: ...", "each: ..." for check box 1019 before the run and "each in the run: ..." during it);
// exit 0 when every step happened, 1 on a timeout or a surprise.
#include "tests/helpers/win32/remote_window.h"

#include <cstdio>
#include <string>

namespace {
using lvp::test::Print;
using lvp::test::TextOf;
using lvp::test::WaitFor;
constexpr wchar_t kTitle[] = L"Belichtungsreihen zusammenführen";
constexpr int kOutputFile = 1007, kQuality = 1008, kProgram = 1009, kPane = 1011, kFuseEach = 1019;
constexpr unsigned kCloseWithOk = 109;

int Fail(const char* what)
{
    std::printf("driver: %s\n", what);
    return 1;
}

// Escape in the control that has the focus, as the keyboard would deliver it.
void PressEscape(HWND hDlg)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    HWND hTarget = hDlg;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(hDlg, nullptr), &info) && info.hwndFocus)
        hTarget = info.hwndFocus;
    PostMessageW(hTarget, WM_KEYDOWN, VK_ESCAPE, 1);
    PostMessageW(hTarget, WM_KEYUP, VK_ESCAPE, 0xC0000001);
}
} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3)
        return Fail("usage: hdr_driver MODULE confirm QUALITY | MODULE escape | MODULE message");
    const std::wstring mode = argv[2];
    if (mode == L"message") {
        HWND hBox = nullptr;
        if (!WaitFor([&] { return (hBox = FindWindowW(L"#32770", L"lvp_hdr")) && IsWindowVisible(hBox); }))
            return Fail("no message box");
        Print("box", TextOf(GetDlgItem(hBox, 0xFFFF)));
        PostMessageW(hBox, WM_COMMAND, IDOK, 0);
        return WaitFor([&] { return !IsWindow(hBox); }) ? 0 : Fail("the box stayed");
    }
    // The closing message from the module's own string table.
    HMODULE hModule = LoadLibraryExW(argv[1], nullptr, LOAD_LIBRARY_AS_DATAFILE);
    wchar_t closing[256] = {};
    if (!hModule || LoadStringW(hModule, kCloseWithOk, closing, 256) <= 0)
        return Fail("no string 109 in the module");
    FreeLibrary(hModule);

    HWND hDlg = nullptr;
    if (!WaitFor([&] { return (hDlg = FindWindowW(L"#32770", kTitle)) && IsWindowVisible(hDlg); }))
        return Fail("no dialog");
    Print("program", TextOf(GetDlgItem(hDlg, kProgram)));
    Print("output", TextOf(GetDlgItem(hDlg, kOutputFile)));
    Print("quality", TextOf(GetDlgItem(hDlg, kQuality)));
    HWND hEach = GetDlgItem(hDlg, kFuseEach);
    Print("each",
          TextOf(hEach) +
              (SendMessageW(hEach, BM_GETCHECK, 0, 0) == BST_CHECKED ? L" | checked" : L" | unchecked") +
              (IsWindowEnabled(hEach) ? L" | enabled" : L" | disabled"));
    if (mode == L"confirm" && argc > 3)
        SendMessageW(GetDlgItem(hDlg, kQuality), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[3]));
    PostMessageW(GetDlgItem(hDlg, IDOK), BM_CLICK, 0, 0);

    HWND hPane = GetDlgItem(hDlg, kPane);
    std::wstring pane;
    if (!WaitFor([&] { return (pane = TextOf(hPane)).find(closing) != std::wstring::npos; }))
        return Fail("message 109 never reached the pane");
    Print("pane", pane);
    RECT rc{};
    GetWindowRect(hEach, &rc);
    Print("each in the run", std::wstring(IsWindowEnabled(hEach) ? L"enabled" : L"disabled") + L" | " +
                                 std::to_wstring(rc.right - rc.left) + L"x" +
                                 std::to_wstring(rc.bottom - rc.top));
    if (mode != L"escape") {
        PostMessageW(GetDlgItem(hDlg, IDOK), BM_CLICK, 0, 0);
        return WaitFor([&] { return !IsWindow(hDlg); }) ? 0 : Fail("the dialog stayed open");
    }
    // Message 109 is in the pane a moment before the run returns, and a key typed until then goes
    // unread (the dialog then waits for a new one): type it again until the dialog takes it.
    for (int i = 0; i < 60; ++i) {
        PressEscape(hDlg);
        if (WaitFor([&] { return !IsWindow(hDlg); }, std::chrono::seconds(1)))
            return 0;
    }
    return Fail("the dialog stayed open");
}
