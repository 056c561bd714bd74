// Open descriptors (/proc/self/fd), heap bytes (the sanitizer's allocator or glibc), the lowest free key.
#include "tests/support/process_usage.h"

#include <filesystem>
#include <malloc.h>
#include <pthread.h>

#if defined(__SANITIZE_ADDRESS__)
#define LVP_ASAN_ALLOCATOR 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LVP_ASAN_ALLOCATOR 1
#endif
#endif
#ifdef LVP_ASAN_ALLOCATOR
// The sanitizer runtime's own count (g++ ships the runtime but not its interface headers).
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace lvp::test {
std::size_t OpenHandleCount()
{
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
        ++n;
    return n - 1; // the listing's own descriptor
}

std::size_t HeapBytesInUse()
{
#if defined(LVP_ASAN_ALLOCATOR)
    return __sanitizer_get_current_allocated_bytes();
#else
    return mallinfo2().uordblks;
#endif
}

std::size_t FirstFreeThreadSlot()
{
    pthread_key_t key{};
    if (pthread_key_create(&key, nullptr) != 0)
        return 0;
    pthread_key_delete(key);
    return key;
}

void HoldHostLibraries() {}

std::size_t SanitizerBytesPerModuleLoad()
{
#if defined(LVP_ASAN_ALLOCATOR)
    return 192;
#else
    return 0;
#endif
}
} // namespace lvp::test
