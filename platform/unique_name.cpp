// UniqueName: file names that no other process or person uses, from the process id and chance.
#include <chrono>
#include <mutex>
#include <random>

#include "platform/fs.h"

namespace platform {
namespace {
void AppendHex(std::u16string& out, uint64_t value, int digits)
{
    static constexpr char16_t kDigits[] = u"0123456789abcdef";
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4)
        out += kDigits[(value >> shift) & 15];
}
} // namespace

std::u16string UniqueName(const std::u16string& prefix, const std::u16string& suffix, uint32_t processId)
{
    // One engine per process, seeded from the system's entropy and the clock, so that two
    // processes that happen to share an id (one after the other, or in two containers) differ.
    static std::mutex lock;
    static std::mt19937_64 engine = [] {
        std::random_device rd;
        const auto now = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
        std::seed_seq seed{rd(), rd(), rd(), static_cast<unsigned>(now), static_cast<unsigned>(now >> 32)};
        return std::mt19937_64(seed);
    }();
    uint64_t chance;
    {
        std::lock_guard<std::mutex> guard(lock);
        chance = engine();
    }
    std::u16string name = prefix;
    AppendHex(name, processId, 8);
    name += u'-';
    AppendHex(name, chance, 16);
    name += suffix;
    return name;
}
} // namespace platform
