// The host's window handle on Linux: the opaque native window id, null for a terminal host.
#pragma once
#include "platform/window.h"

namespace lvp {
using HostWindow = platform::WindowId;
}
