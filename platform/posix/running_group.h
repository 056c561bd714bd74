// The process group of the program that runs now, for a signal handler that must stop it before
// the process ends. Implemented by platform/posix/process.cpp.
#pragma once

namespace platform::posix {
// Kills the group of the running program, if any; async-signal-safe.
void KillRunningGroupFromSignal() noexcept;
} // namespace platform::posix
