// The host's window handle on Windows: the Win32 window handle itself (HWND under STRICT).
#pragma once

struct HWND__; // declared exactly as <windows.h> declares it, so HostWindow and HWND are one type

namespace lvp {
using HostWindow = HWND__*;
}
