// CTSearch: quick-search with a last-byte distance, never stepping back.
#include "settings/ctsearch.h"

namespace lvp {
CTSearch::CTSearch(const uint8_t* pattern, int32_t length) : m_pPattern(pattern), m_nLength(length)
{
    for (int32_t& s : m_shift)
        s = length + 1;
    for (int32_t j = 0; j < length; ++j)
        m_shift[pattern[j]] = length - j;
    m_nLastDistance = length > 0 ? length - 1 : 0;
    for (int32_t d = 0; length - 2 - d >= 0; ++d) {
        if (pattern[length - 2 - d] == pattern[length - 1]) {
            m_nLastDistance = d;
            break;
        }
    }
}

int64_t CTSearch::Find(const uint8_t* buffer, size_t length) const
{
    const size_t m = static_cast<size_t>(m_nLength);
    if (m == 0 || length <= m)
        return -1;
    const uint8_t last = m_pPattern[m - 1];
    const size_t d = static_cast<size_t>(m_nLastDistance);
    size_t p = 0;
    for (;;) {
        while (buffer[p + m - 1] != last) {
            p += static_cast<size_t>(m_shift[buffer[p + m]]);
            if (p + m >= length)
                return -1;
        }
        size_t j = m - 1;
        while (j > 0 && m_pPattern[j - 1] == buffer[p + j - 1])
            --j;
        if (j == 0)
            return static_cast<int64_t>(p);
        if (p + m + d >= length)
            return -1;
        p += d + static_cast<size_t>(m_shift[buffer[p + m + d]]);
        if (p + m >= length)
            return -1;
    }
}
} // namespace lvp
