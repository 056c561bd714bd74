// The host's window handle on Linux: an opaque pointer to the host's native window, null for a terminal host.
#pragma once

namespace lvp {
struct SNativeWindow; // never defined here: the host's toolkit window, passed through untouched
using HostWindow = SNativeWindow*;
} // namespace lvp
