// The module (DLL or executable) that contains this code, whose resources are the module's own.
// Implemented by resources/win32/load_string.cpp.
#pragma once
#include "platform/win32/windows_prelude.h"

namespace lvp {
HMODULE OwnModule();
}
