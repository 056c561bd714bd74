// The machine on Windows: the processors this process may run on and the available physical memory.
#include "platform/win32/windows_prelude.h"

#include "platform/real_os.h"

namespace platform {
// Those of the process's affinity mask (start /affinity) where it names fewer than are active.
unsigned CRealOs::ProcessorCount() const
{
    DWORD_PTR nProcess = 0, nSystem = 0;
    if (::GetProcessAffinityMask(::GetCurrentProcess(), &nProcess, &nSystem) && nProcess != 0) {
        unsigned nCount = 0;
        for (; nProcess != 0; nProcess &= nProcess - 1)
            ++nCount;
        if (nCount < ::GetActiveProcessorCount(ALL_PROCESSOR_GROUPS))
            return nCount;
    }
    const DWORD n = ::GetActiveProcessorCount(ALL_PROCESSOR_GROUPS);
    if (n > 0)
        return static_cast<unsigned>(n);
    SYSTEM_INFO info{};
    ::GetSystemInfo(&info);
    return info.dwNumberOfProcessors > 0 ? static_cast<unsigned>(info.dwNumberOfProcessors) : 1u;
}

uint64_t CRealOs::AvailableMemory() const
{
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (!::GlobalMemoryStatusEx(&status))
        return 0;
    return status.ullAvailPhys;
}
} // namespace platform
