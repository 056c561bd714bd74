// Open handles (one by one where Wine answers no total), busy heap blocks, the lowest free TLS index.
#include "tests/support/process_usage.h"

#include "platform/win32/windows_prelude.h"

#include <cstdint>
#include <vector>

namespace lvp::test {
std::size_t OpenHandleCount()
{
    DWORD n = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &n) && n > 0)
        return n;
    DWORD flags = 0;
    for (std::uintptr_t h = 4; h < 0x10000; h += 4)
        n += GetHandleInformation(reinterpret_cast<HANDLE>(h), &flags) ? 1 : 0;
    return n;
}

std::size_t HeapBytesInUse()
{
    std::vector<HANDLE> heaps(GetProcessHeaps(0, nullptr) + 16);
    heaps.resize(GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data()));
    std::size_t bytes = 0;
    for (HANDLE heap : heaps) {
        if (!HeapLock(heap))
            continue;
        PROCESS_HEAP_ENTRY entry{};
        while (HeapWalk(heap, &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)
                bytes += entry.cbData;
        HeapUnlock(heap);
    }
    return bytes;
}

std::size_t FirstFreeThreadSlot()
{
    const DWORD index = TlsAlloc();
    TlsFree(index);
    return index;
}

void HoldHostLibraries()
{
    // Held until the process ends, as the host holds them.
    for (const wchar_t* name : {L"user32.dll", L"gdi32.dll", L"shell32.dll", L"ole32.dll", L"comdlg32.dll",
                                L"comctl32.dll"})
        LoadLibraryW(name);
}

std::size_t SanitizerBytesPerModuleLoad()
{
    return 0;
}
} // namespace lvp::test
