// An opaque id of a native window (Win32: the HWND; Linux: whatever the host hands in, or null).
// Implemented by nothing: converted to the OS's own type only at the window-system edge.
#pragma once

namespace platform {
struct SNativeWindow; // never defined: a window of the host's window system, passed through untouched
using WindowId = SNativeWindow*;
} // namespace platform
