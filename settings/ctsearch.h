// CTSearch: quick-search of a byte pattern in a byte buffer, tables prepared once.
#pragma once
#include <cstddef>
#include <cstdint>

namespace lvp {
class CTSearch {
public:
    // Does not own the pattern: it must outlive the searcher.
    CTSearch(const uint8_t* pattern, int32_t length);
    virtual ~CTSearch() = default;

    // Byte offset of the first occurrence that is followed by at least one more byte,
    // or -1 when there is none.
    int64_t Find(const uint8_t* buffer, size_t length) const;

private:
    const uint8_t* m_pPattern;
    int32_t m_nLength;
    int32_t m_shift[256];
    int32_t m_nLastDistance;
};
} // namespace lvp
