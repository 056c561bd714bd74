// The Win32 backend: real windows, dialogs from the module's own resources, system boxes.
#pragma once
#include "platform/win32/windows_prelude.h"
#include "ui/framework/backend.h"

namespace lvp {
// Window and edit operations over hWnd; do not own or destroy the window.
SControlBackend MakeWin32Backend(HWND hWnd);

inline HWND ToHwnd(platform::WindowId id)
{
    return reinterpret_cast<HWND>(id);
}
inline platform::WindowId ToWindowId(HWND hWnd)
{
    return reinterpret_cast<platform::WindowId>(hWnd);
}
} // namespace lvp
