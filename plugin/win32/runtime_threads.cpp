// The thread primitives the runtime calls inside the DLL, over Win32 objects an unload leaves nothing of.
//
// The runtime linked into the DLL (the DWARF-2 unwinder's frame registry, emulated thread-local
// storage, the exception emergency pool) calls the eight pthread functions below; the clock
// functions behind std::chrono call nanosleep. The toolchain's pthread library, linked
// statically, gives every thread that calls them a record with two kernel handles and takes a
// TLS index per load, and frees neither when a host unloads the DLL: each load and unload kept
// two handles and a TLS index, and the process ran out of TLS indices after about a thousand
// loads. Defined here, these are what the linker takes, and the pthread library's thread,
// mutex and sleep parts are not linked at all (one that got linked anyway would fail the link
// with duplicate definitions). Mutexes are slim reader/writer locks (no handle, nothing to
// free), once-flags an atomic state, keys TLS indices that the DLL's last exit handler releases
// after running the unloading thread's destructors.
#include "platform/win32/windows_prelude.h"

#include <pthread.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>

namespace __gnu_cxx {
void __freeres() noexcept; // libstdc++: frees the exception emergency pool
} // namespace __gnu_cxx

namespace {
struct Key {
    DWORD index = TLS_OUT_OF_INDEXES;
    void (*destructor)(void*) = nullptr;
};
// The runtime creates one key (emulated TLS); a few more leave room.
constexpr int kMaxKeys = 8;
Key g_keys[kMaxKeys];
int g_keyCount = 0;
SRWLOCK g_keysLock = SRWLOCK_INIT;

constexpr LONG kOnceNotRun = 0; // PTHREAD_ONCE_INIT
constexpr LONG kOnceRunning = 1;
constexpr LONG kOnceDone = 2;
constexpr int kDestructorRounds = 4; // PTHREAD_DESTRUCTOR_ITERATIONS of POSIX

PSRWLOCK AsLock(pthread_mutex_t* m)
{
    static_assert(sizeof(pthread_mutex_t) == sizeof(SRWLOCK), "a mutex holds one slim lock");
    // A mutex set up by PTHREAD_MUTEX_INITIALIZER instead of pthread_mutex_init starts as an
    // unlocked slim lock.
    InterlockedCompareExchangePointer(reinterpret_cast<PVOID*>(m), nullptr,
                                      reinterpret_cast<PVOID>(PTHREAD_MUTEX_INITIALIZER));
    return reinterpret_cast<PSRWLOCK>(m);
}

// Runs the destructors of the calling thread's non-null values, as a thread end does.
void RunDestructors()
{
    for (int round = 0; round < kDestructorRounds; ++round) {
        bool ran = false;
        AcquireSRWLockShared(&g_keysLock);
        const int count = g_keyCount;
        ReleaseSRWLockShared(&g_keysLock);
        for (int i = 0; i < count; ++i) {
            void* value = TlsGetValue(g_keys[i].index);
            if (value == nullptr || g_keys[i].destructor == nullptr)
                continue;
            TlsSetValue(g_keys[i].index, nullptr);
            g_keys[i].destructor(value);
            ran = true;
        }
        if (!ran)
            break;
    }
}

// The DLL's last exit handler: the unloading thread's values, the TLS indices, the pool.
void ReleaseRuntime()
{
    RunDestructors();
    AcquireSRWLockExclusive(&g_keysLock);
    for (int i = 0; i < g_keyCount; ++i)
        TlsFree(g_keys[i].index);
    g_keyCount = 0;
    ReleaseSRWLockExclusive(&g_keysLock);
    __gnu_cxx::__freeres();
}

// C initialisers run before the constructors (the first of which registers the unwinder's
// frames and its deregistration at exit), and exit handlers run in reverse: registered here,
// ReleaseRuntime runs after every other one, when nothing in the DLL uses the runtime again.
void RegisterRelease()
{
    std::atexit(ReleaseRuntime);
}
__attribute__((section(".CRT$XIU"), used)) void (*const g_registerRelease)() = RegisterRelease;

void NTAPI OnThreadEvent(PVOID, DWORD reason, PVOID)
{
    if (reason == DLL_THREAD_DETACH)
        RunDestructors();
}
__attribute__((section(".CRT$XLM"), used)) const PIMAGE_TLS_CALLBACK g_threadEvent = OnThreadEvent;
} // namespace

extern "C" {
int pthread_once(pthread_once_t* once, void (*init)(void))
{
    for (;;) {
        const LONG state = InterlockedCompareExchange(once, kOnceRunning, kOnceNotRun);
        if (state == kOnceDone)
            return 0;
        if (state == kOnceNotRun) {
            init();
            InterlockedExchange(once, kOnceDone);
            return 0;
        }
        SwitchToThread(); // another thread runs init; it is short
    }
}

int pthread_mutex_init(pthread_mutex_t* m, const pthread_mutexattr_t* attr)
{
    InitializeSRWLock(reinterpret_cast<PSRWLOCK>(m));
    return attr == nullptr ? 0 : ENOTSUP; // the runtime asks for normal mutexes only
}

int pthread_mutex_lock(pthread_mutex_t* m)
{
    AcquireSRWLockExclusive(AsLock(m));
    return 0;
}

int pthread_mutex_unlock(pthread_mutex_t* m)
{
    ReleaseSRWLockExclusive(AsLock(m));
    return 0;
}

int pthread_mutex_destroy(pthread_mutex_t*)
{
    return 0; // a slim lock holds nothing
}

int pthread_key_create(pthread_key_t* key, void (*destructor)(void*))
{
    AcquireSRWLockExclusive(&g_keysLock);
    int result = EAGAIN;
    if (g_keyCount < kMaxKeys) {
        const DWORD index = TlsAlloc();
        if (index != TLS_OUT_OF_INDEXES) {
            g_keys[g_keyCount++] = Key{index, destructor};
            *key = index;
            result = 0;
        }
    }
    ReleaseSRWLockExclusive(&g_keysLock);
    return result;
}

void* pthread_getspecific(pthread_key_t key)
{
    const DWORD error = GetLastError(); // TlsGetValue clears it; callers may be between a call and its check
    void* value = TlsGetValue(key);
    SetLastError(error);
    return value;
}

int pthread_setspecific(pthread_key_t key, const void* value)
{
    return TlsSetValue(key, const_cast<void*>(value)) ? 0 : EINVAL;
}

#undef nanosleep // <pthread.h> makes it a cancellation point; nothing here is cancelled
int nanosleep(const timespec* request, timespec* remain)
{
    if (request == nullptr || request->tv_sec < 0 || request->tv_nsec < 0 ||
        request->tv_nsec >= 1000000000L) {
        errno = EINVAL;
        return -1;
    }
    constexpr long long kMaxMilliseconds = 0x7FFFFFFE; // below INFINITE
    const long long ms = request->tv_sec * 1000LL + (request->tv_nsec + 999999L) / 1000000L;
    Sleep(static_cast<DWORD>(ms < kMaxMilliseconds ? ms : kMaxMilliseconds));
    if (remain != nullptr)
        *remain = timespec{};
    return 0;
}
} // extern "C"
