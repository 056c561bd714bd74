// The machine as COs tells it: MemAvailable read from /proc/meminfo's text (a table), and the real
// processors and free memory.
#include "platform/meminfo.h"
#include "platform/real_os.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <sched.h>
#endif

namespace {
TEST(Machine, MemAvailableFromMeminfo)
{
    struct Case {
        const char* text;
        uint64_t nWant;
    } cases[] = {
        {"MemTotal:       24683520 kB\nMemFree:        23678476 kB\nMemAvailable:   24257636 kB\n",
         uint64_t{24257636} * 1024},
        {"MemAvailable: 1 kB", 1024},
        {"MemTotal: 5 kB\nMemFree: 3 kB\n", 0},            // an old kernel's
        {"MemAvailable:   kB\n", 0},                       // no number
        {"MemAvailable: 12 MB\n", 0},                      // another unit
        {"XMemAvailable: 12 kB\n", 0},                     // not at a line's start
        {"MemAvailable: 99999999999999999999999 kB\n", 0}, // beyond any memory
        {"", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(platform::MemAvailableFromMeminfo(c.text), c.nWant) << c.text;
}

TEST(Machine, RealProcessorsAndMemory)
{
    const platform::COs& os = platform::RealOs();
    EXPECT_GE(os.ProcessorCount(), 1u);
    EXPECT_GT(os.AvailableMemory(), uint64_t{16} << 20);
}

// A process held to one processor (taskset, start /affinity) counts one: it would gain nothing
// from a second bracket at a time.
TEST(Machine, ProcessorsOfTheAffinity)
{
    const platform::COs& os = platform::RealOs();
#ifdef _WIN32
    DWORD_PTR nProcess = 0, nSystem = 0;
    ASSERT_TRUE(GetProcessAffinityMask(GetCurrentProcess(), &nProcess, &nSystem));
    const DWORD_PTR nFirst = nProcess & (~nProcess + 1);
    ASSERT_TRUE(SetProcessAffinityMask(GetCurrentProcess(), nFirst));
    EXPECT_EQ(os.ProcessorCount(), 1u);
    SetProcessAffinityMask(GetCurrentProcess(), nProcess);
#else
    cpu_set_t before, one;
    ASSERT_EQ(sched_getaffinity(0, sizeof before, &before), 0);
    CPU_ZERO(&one);
    for (int i = 0; i < CPU_SETSIZE; ++i) {
        if (CPU_ISSET(i, &before)) {
            CPU_SET(i, &one);
            break;
        }
    }
    ASSERT_EQ(sched_setaffinity(0, sizeof one, &one), 0);
    EXPECT_EQ(os.ProcessorCount(), 1u);
    sched_setaffinity(0, sizeof before, &before);
    EXPECT_EQ(os.ProcessorCount(), static_cast<unsigned>(CPU_COUNT(&before)));
#endif
}
} // namespace
