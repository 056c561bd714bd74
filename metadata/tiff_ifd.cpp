// Reads TIFF headers and directories without trusting any offset or count.
#include "metadata/tiff_ifd.h"

namespace lvp::metadata {
namespace {
constexpr size_t kEntrySize = 12;

// Bytes per value of the TIFF 6 types 1..12 and IFD (13).
constexpr uint8_t kTypeSizes[] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8, 4};
} // namespace

size_t TiffTypeSize(uint16_t type)
{
    return type < std::size(kTypeSizes) ? kTypeSizes[type] : 0;
}

const STiffEntry* FindEntry(const STiffIfd& ifd, uint16_t tag)
{
    for (const STiffEntry& e : ifd.entries)
        if (e.tag == tag)
            return &e;
    return nullptr;
}

ETiffKind TiffKind(std::span<const uint8_t> data)
{
    if (data.size() < 8 || data[0] != data[1] || (data[0] != 'I' && data[0] != 'M'))
        return ETiffKind::NotTiff;
    const uint16_t magic = SByteOrder{data[0] == 'M'}.U16(data.data() + 2);
    return magic == 42 ? ETiffKind::Classic : magic == 43 ? ETiffKind::Big : ETiffKind::NotTiff;
}

std::optional<CTiffView> CTiffView::Open(std::span<const uint8_t> data)
{
    if (TiffKind(data) != ETiffKind::Classic)
        return std::nullopt;
    return CTiffView(data, SByteOrder{data[0] == 'M'});
}

std::optional<STiffIfd> CTiffView::ReadIfd(uint32_t offset, bool skipDamaged) const
{
    const size_t size = m_data.size();
    if (offset < 8 || offset > size || size - offset < 2)
        return std::nullopt;
    const size_t count = m_order.U16(m_data.data() + offset);
    if ((size - offset - 2) / kEntrySize < count || size - offset - 2 - count * kEntrySize < 4)
        return std::nullopt;
    STiffIfd ifd{offset, offset + 2 + count * kEntrySize + 4, 0, {}};
    ifd.next = m_order.U32(m_data.data() + ifd.end - 4);
    ifd.entries.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* p = m_data.data() + offset + 2 + i * kEntrySize;
        const size_t at = offset + 2 + i * kEntrySize;
        STiffEntry e{m_order.U16(p), m_order.U16(p + 2), m_order.U32(p + 4), at, at + 8, 0};
        const uint64_t bytes = uint64_t{TiffTypeSize(e.type)} * e.count;
        if (bytes > 4) {
            e.value = m_order.U32(p + 8);
            if (e.value < 8 || e.value > size || size - e.value < bytes) { // never in the header
                if (skipDamaged)
                    continue;
                return std::nullopt;
            }
        }
        e.valueSize = static_cast<size_t>(bytes);
        ifd.entries.push_back(e);
    }
    return ifd;
}

std::optional<uint32_t> CTiffView::Number(const STiffEntry& e, uint32_t i) const
{
    const size_t width = TiffTypeSize(e.type);
    if (i >= e.count || (e.type != 3 && e.type != 4 && e.type != 13))
        return std::nullopt;
    const uint8_t* p = m_data.data() + e.value + i * width;
    return width == 2 ? m_order.U16(p) : m_order.U32(p);
}

std::optional<double> CTiffView::Rational(const STiffEntry& e) const
{
    if (e.count == 0 || (e.type != 5 && e.type != 10))
        return std::nullopt;
    const uint32_t num = m_order.U32(m_data.data() + e.value);
    const uint32_t den = m_order.U32(m_data.data() + e.value + 4);
    if (den == 0)
        return std::nullopt;
    if (e.type == 5)
        return double(num) / double(den);
    return double(static_cast<int32_t>(num)) / double(static_cast<int32_t>(den));
}

std::optional<STiffIfd> SubIfd(const CTiffView& view, const STiffIfd& ifd, uint16_t tag, bool skipDamaged)
{
    const STiffEntry* e = FindEntry(ifd, tag);
    if (!e)
        return STiffIfd{};
    const std::optional<uint32_t> at = view.Number(*e);
    return at ? view.ReadIfd(*at, skipDamaged) : std::nullopt;
}
} // namespace lvp::metadata
