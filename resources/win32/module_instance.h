// The module (DLL or executable) that contains this code, whose resources are the module's own.
// The handle comes from the platform layer (platform/win32/own_module.h); Windows only.
#pragma once
#include "platform/win32/own_module.h"

namespace lvp {
using platform::win32::OwnModule;
}
