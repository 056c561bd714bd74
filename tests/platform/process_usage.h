// What a process holds, for tests that check long use leaves nothing behind: open handles or
// file descriptors and heap bytes in use. Implemented by tests/platform/<os>/process_usage.cpp.
#pragma once
#include <cstddef>
#include <cstdlib>
#include <string>

namespace lvp::test {
// Open file descriptors (POSIX) or handles (Windows) of this process.
std::size_t OpenHandleCount();
// Heap bytes the process has allocated and not yet freed.
std::size_t HeapBytesInUse();

// How often a scale test repeats: the variable's value when set (a long run), else fallback.
inline int RepeatCount(const char* variable, int fallback)
{
    const char* value = std::getenv(variable);
    return value != nullptr && std::atoi(value) > 0 ? std::atoi(value) : fallback;
}
} // namespace lvp::test
