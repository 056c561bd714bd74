// The module (DLL or program) that holds this code: its resources and its file are the module's
// own, never the host's. Implemented by platform/win32/module_file.cpp; Windows only.
#pragma once
#include "platform/win32/windows_prelude.h"

namespace platform::win32 {
HMODULE OwnModule();
}
