// What a process holds, for tests that check long use leaves nothing behind: open handles or
// file descriptors and heap bytes in use. Implemented by tests/support/<os>/process_usage.cpp.
#pragma once
#include <cstddef>
#include <cstdlib>
#include <string>

namespace lvp::test {
// Open file descriptors (POSIX) or handles (Windows) of this process.
std::size_t OpenHandleCount();
// Heap bytes the process has allocated and not yet freed.
std::size_t HeapBytesInUse();
// The lowest thread-local storage slot free now (a TLS index on Windows, a thread key on
// POSIX; both hand out the lowest free one): it rises for good when something keeps a slot.
std::size_t FirstFreeThreadSlot();
// Heap bytes a module load adds for good in this build beyond the module's own: AddressSanitizer's
// __cxa_atexit hook registers one handler of its own, never removed, per static destructor that
// the module registers, so each load of an instrumented module grows glibc's exit-handler list
// (about 130 bytes for lvp_hdr). 0 in builds without it.
std::size_t SanitizerBytesPerModuleLoad();

// Loads the system libraries that a windowed host keeps loaded all its life (Windows: user32,
// gdi32, shell32, ole32, comdlg32, comctl32), so that unloading a module does not unload them
// too, as it would in a test program that uses none of them: under Wine each reload of those
// costs the process a handle. Nothing elsewhere.
void HoldHostLibraries();

// How often a scale test repeats: the variable's value when set (a long run), else fallback.
inline int RepeatCount(const char* variable, int fallback)
{
    const char* value = std::getenv(variable);
    return value != nullptr && std::atoi(value) > 0 ? std::atoi(value) : fallback;
}
} // namespace lvp::test
