// Reads the MemAvailable line of /proc/meminfo's text.
#include "platform/meminfo.h"

#include <limits>

namespace platform {
uint64_t MemAvailableFromMeminfo(std::string_view text)
{
    constexpr std::string_view kKey = "MemAvailable:";
    size_t at = 0;
    while (at < text.size() && text.compare(at, kKey.size(), kKey) != 0) {
        const size_t end = text.find('\n', at);
        if (end == std::string_view::npos)
            return 0;
        at = end + 1;
    }
    if (at >= text.size())
        return 0;
    at += kKey.size();
    while (at < text.size() && text[at] == ' ')
        ++at;
    uint64_t nKilobytes = 0;
    size_t nDigits = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at, ++nDigits) {
        const unsigned digit = static_cast<unsigned>(text[at] - '0');
        if (nKilobytes > (std::numeric_limits<uint64_t>::max() / 1024 - digit) / 10)
            return 0; // beyond any memory
        nKilobytes = nKilobytes * 10 + digit;
    }
    if (nDigits == 0 || text.substr(at, 3) != " kB")
        return 0;
    return nKilobytes * 1024;
}
} // namespace platform
