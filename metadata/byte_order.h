// 16- and 32-bit values in either TIFF byte order; the callers check the bounds.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace lvp::metadata {
using Bytes = std::vector<uint8_t>;

struct SByteOrder {
    bool big = false; // "MM" (Motorola) when true, "II" (Intel) when false

    uint16_t U16(const uint8_t* p) const
    {
        return static_cast<uint16_t>(big ? p[0] << 8 | p[1] : p[1] << 8 | p[0]);
    }
    uint32_t U32(const uint8_t* p) const
    {
        return big ? uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3]
                   : uint32_t{p[3]} << 24 | uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | p[0];
    }
    void Put16(uint8_t* p, uint16_t v) const
    {
        p[big ? 0 : 1] = static_cast<uint8_t>(v >> 8);
        p[big ? 1 : 0] = static_cast<uint8_t>(v);
    }
    void Put32(uint8_t* p, uint32_t v) const
    {
        for (int i = 0; i < 4; ++i)
            p[big ? 3 - i : i] = static_cast<uint8_t>(v >> (8 * i));
    }
    void Append16(Bytes& out, uint16_t v) const
    {
        out.resize(out.size() + 2);
        Put16(out.data() + out.size() - 2, v);
    }
    void Append32(Bytes& out, uint32_t v) const
    {
        out.resize(out.size() + 4);
        Put32(out.data() + out.size() - 4, v);
    }
    bool operator==(const SByteOrder&) const = default;
};

// Big-endian 16-bit value, as JPEG and Photoshop resources store them.
inline uint16_t BigU16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] << 8 | p[1]);
}
inline uint32_t BigU32(const uint8_t* p)
{
    return SByteOrder{true}.U32(p);
}
} // namespace lvp::metadata
