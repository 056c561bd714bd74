// Temporary names that no other process or person uses, from the process id and chance; their
// parser and the sweep of those whose process has ended.
#include "platform/temp_name.h"

#include <atomic>
#include <chrono>
#include <random>

namespace platform {
namespace {
void AppendHex(std::u16string& out, uint64_t value, int digits)
{
    static constexpr char16_t kDigits[] = u"0123456789abcdef";
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4)
        out += kDigits[(value >> shift) & 15];
}

// 64 bits of chance: the system's entropy, the clock and a count of this process, mixed
// (SplitMix64's finaliser). No lock and no state built at first use: in a DLL both would make
// the runtime create OS objects that outlive every unload of the module.
uint64_t Chance()
{
    static std::atomic<uint64_t> s_nCount{0};
    std::random_device rd;
    uint64_t x = (static_cast<uint64_t>(rd()) << 32 | rd()) ^
                 static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                 (s_nCount.fetch_add(1) + 1) * UINT64_C(0x9E3779B97F4A7C15);
    x = (x ^ (x >> 30)) * UINT64_C(0xBF58476D1CE4E5B9);
    x = (x ^ (x >> 27)) * UINT64_C(0x94D049BB133111EB);
    return x ^ (x >> 31);
}
} // namespace

std::u16string UniqueName(const std::u16string& prefix, const std::u16string& suffix, uint32_t processId)
{
    const uint64_t chance = Chance();
    std::u16string name = prefix;
    AppendHex(name, processId, 8);
    name += u'-';
    AppendHex(name, chance, 16);
    name += suffix;
    return name;
}

bool TemporaryNameProcess(std::u16string_view rest, uint32_t& processId, std::u16string_view& suffix)
{
    constexpr size_t kDigits = 8 + 1 + 16; // process id, "-", chance
    if (rest.size() < kDigits || rest[8] != u'-')
        return false;
    auto digit = [](char16_t c) {
        return c >= u'0' && c <= u'9' ? c - u'0' : c >= u'a' && c <= u'f' ? c - u'a' + 10 : -1;
    };
    uint32_t id = 0;
    for (size_t i = 0; i < kDigits; ++i) {
        if (i == 8)
            continue;
        const int d = digit(rest[i]);
        if (d < 0)
            return false;
        if (i < 8)
            id = id << 4 | static_cast<uint32_t>(d);
    }
    processId = id;
    suffix = rest.substr(kDigits);
    return true;
}

void RemoveStaleTemporaries(const COs& os, const std::u16string& prefix, std::u16string_view suffix)
{
    const uint32_t own = os.CurrentProcessId();
    auto stale = [&](const std::u16string& path) {
        uint32_t processId = 0;
        std::u16string_view rest;
        return path.size() > prefix.size() && path.starts_with(prefix) &&
               TemporaryNameProcess(std::u16string_view(path).substr(prefix.size()), processId, rest) &&
               (suffix.empty() || rest == suffix) && processId != own && !os.IsProcessRunning(processId);
    };
    for (const std::u16string& path : os.FilesStartingWith(prefix)) {
        if (stale(path))
            os.RemoveFile(path);
    }
    for (const std::u16string& path : os.FoldersStartingWith(prefix)) {
        if (stale(path))
            os.RemoveFolderTree(path);
    }
}
} // namespace platform
