// The owner of a POSIX file descriptor, for the POSIX files of the platform layer.
#pragma once
#include "platform/scoped.h"

#include <unistd.h>

namespace platform::posix {
struct SFdTraits {
    using Type = int;
    static int Invalid() { return -1; }
    static bool IsValid(int fd) { return fd >= 0; }
    static void Free(int fd) { ::close(fd); }
};
// Closes the descriptor on destruction unless Release gave it away; -1 is no descriptor.
using CAutoFd = CScoped<SFdTraits>;
} // namespace platform::posix
