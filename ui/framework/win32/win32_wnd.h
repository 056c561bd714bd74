// The Win32 backend: CWnd operations on a real window handle.
#pragma once
#include "ui/framework/backend.h"

#include <windows.h>
// The framework's own member names, not the A/W macros of <windows.h>.
#undef SetWindowText
#undef GetWindowText
#undef GetWindowTextLength

#include <memory>

namespace lvp {
// A backend window over hWnd; does not own or destroy the window.
std::unique_ptr<CWndBackend> MakeWin32Backend(HWND hWnd);
} // namespace lvp
