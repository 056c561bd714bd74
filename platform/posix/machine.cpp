// The machine on Linux: the processors this process may run on and the free memory of /proc/meminfo.
#include "platform/meminfo.h"
#include "platform/real_os.h"

#include <sched.h>

#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace platform {
// Those of the process's affinity (taskset, a container's cpuset), as nproc counts them.
unsigned CRealOs::ProcessorCount() const
{
    cpu_set_t set;
    CPU_ZERO(&set);
    if (::sched_getaffinity(0, sizeof set, &set) == 0 && CPU_COUNT(&set) > 0)
        return static_cast<unsigned>(CPU_COUNT(&set));
    const long n = ::sysconf(_SC_NPROCESSORS_ONLN);
    return n < 1 ? 1u : static_cast<unsigned>(n);
}

uint64_t CRealOs::AvailableMemory() const
{
    try {
        std::ifstream in("/proc/meminfo", std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (const uint64_t n = MemAvailableFromMeminfo(text))
            return n;
    } catch (...) {
        // Without the file's text the free pages tell it.
    }
    const long nPages = ::sysconf(_SC_AVPHYS_PAGES), nPageSize = ::sysconf(_SC_PAGESIZE);
    if (nPages <= 0 || nPageSize <= 0)
        return 0;
    return static_cast<uint64_t>(nPages) * static_cast<uint64_t>(nPageSize);
}
} // namespace platform
