// A read-only view of a TIFF structure (a TIFF file or an Exif block): its header and IFDs, every
// offset and count checked against the block.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "metadata/byte_order.h"

namespace lvp::metadata {
// One directory entry; value/valueSize locate its value inside the block (inline ones too).
struct STiffEntry {
    uint16_t tag = 0;
    uint16_t type = 0;
    uint32_t count = 0;
    size_t entry = 0; // the entry's first byte
    size_t value = 0;
    size_t valueSize = 0;
};

struct STiffIfd {
    size_t offset = 0;
    size_t end = 0; // after the next-IFD offset
    uint32_t next = 0;
    std::vector<STiffEntry> entries;
};

// The size of one value of a TIFF field type; 0 for a type this reader does not know.
size_t TiffTypeSize(uint16_t type);
const STiffEntry* FindEntry(const STiffIfd& ifd, uint16_t tag);

enum class ETiffKind { NotTiff, Classic, Big };
ETiffKind TiffKind(std::span<const uint8_t> data);

class CTiffView {
public:
    // Empty unless data begins with a classic TIFF header ("II*\0" or "MM\0*").
    static std::optional<CTiffView> Open(std::span<const uint8_t> data);

    SByteOrder Order() const { return m_order; }
    uint32_t FirstIfd() const { return m_order.U32(m_data.data() + 4); }
    std::span<const uint8_t> Data() const { return m_data; }
    // Empty when the directory or any entry's value lies outside the block or in its header; with
    // skipDamaged such entries are left out instead (for readers that take single values).
    // Entries of unknown types are kept with valueSize 0 (their value field is not interpreted).
    std::optional<STiffIfd> ReadIfd(uint32_t offset, bool skipDamaged = false) const;
    std::span<const uint8_t> Value(const STiffEntry& e) const { return m_data.subspan(e.value, e.valueSize); }
    // The i-th value of a SHORT, LONG or IFD entry.
    std::optional<uint32_t> Number(const STiffEntry& e, uint32_t i = 0) const;
    // The first value of a RATIONAL or SRATIONAL entry; empty when its denominator is 0.
    std::optional<double> Rational(const STiffEntry& e) const;

private:
    CTiffView(std::span<const uint8_t> data, SByteOrder order) : m_data(data), m_order(order) {}
    std::span<const uint8_t> m_data;
    SByteOrder m_order;
};

// Reads the directory an entry of `ifd` points to; an absent pointer gives an empty directory
// (end 0), a damaged one no value.
std::optional<STiffIfd> SubIfd(const CTiffView& view, const STiffIfd& ifd, uint16_t tag,
                               bool skipDamaged = false);
} // namespace lvp::metadata
