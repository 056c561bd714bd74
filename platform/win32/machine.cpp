// The machine on Windows: the active processors and the available physical memory.
#include "platform/win32/windows_prelude.h"

#include "platform/real_os.h"

namespace platform {
unsigned CRealOs::ProcessorCount() const
{
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
