// Patches a JPEG photo's Exif block for the fused image, or builds a new one from a photo's tags.
#include "metadata/exif_block.h"

#include <algorithm>
#include <cstdint>

namespace lvp::metadata {
namespace {
struct SRange {
    size_t begin, end;
};

// The directory and its out-of-line values.
void AddRanges(const STiffIfd& ifd, std::vector<SRange>& used)
{
    used.push_back({ifd.offset, ifd.end});
    for (const STiffEntry& e : ifd.entries) {
        if (TiffTypeSize(e.type) == 0)
            used.push_back({0, SIZE_MAX}); // where its value lies is unknown: nothing may be cut
        else if (e.value < e.entry || e.value >= e.entry + 12) // inline values lie in the directory
            used.push_back({e.value, e.value + e.valueSize});
    }
}

// Writes n as the entry's only value: a SHORT where it was one and n fits, else a LONG.
void PatchNumber(Bytes& block, SByteOrder order, const STiffEntry& e, uint32_t n)
{
    uint8_t* p = &block[e.entry];
    const bool asShort = e.type == kTypeShort && n <= 0xFFFF;
    order.Put16(p + 2, asShort ? kTypeShort : kTypeLong);
    order.Put32(p + 4, 1);
    order.Put32(p + 8, 0);
    if (asShort)
        order.Put16(p + 8, static_cast<uint16_t>(n));
    else
        order.Put32(p + 8, n);
}

// Where the block's tail of IFD1, its values and its thumbnail begins (only those: a gap of
// more than a pad byte ends it); the block's size when IFD1 cannot be read (it is unlinked all
// the same, its bytes left where they are).
size_t ThumbnailTail(const CTiffView& view, uint32_t next)
{
    const size_t size = view.Data().size();
    const std::optional<STiffIfd> ifd1 = view.ReadIfd(next);
    if (!ifd1)
        return size;
    std::vector<SRange> parts;
    AddRanges(*ifd1, parts);
    const std::pair<uint16_t, uint16_t> images[] = {{513, 514}, {273, 279}}; // JPEG or one strip
    for (const auto& [offsetTag, lengthTag] : images) {
        const STiffEntry* at = FindEntry(*ifd1, offsetTag);
        const STiffEntry* length = FindEntry(*ifd1, lengthTag);
        // An absent or unreadable number counts as the size, which locates nothing.
        const size_t a = at ? view.Number(*at).value_or(size) : size;
        const size_t n = length ? view.Number(*length).value_or(size) : size;
        if (a < size && size - a >= n)
            parts.push_back({a, a + n});
    }
    // From the last-ending part down: once a part ends before the tail (less a pad byte), every
    // later one does too.
    std::sort(parts.begin(), parts.end(), [](const SRange& a, const SRange& b) { return a.end > b.end; });
    size_t tail = size;
    for (const SRange& r : parts)
        if (r.begin < tail && r.end >= tail - 1)
            tail = r.begin;
    return tail;
}

// An Exif directory that lacks the pixel dimensions gets a copy with them, appended to the block:
// its entries as stored (their values stay where they are, the maker note's bytes too), IFD0's
// pointer moved to it; the old directory's bytes stay, unreferenced.
bool AddDimensions(Bytes& block, const CTiffView& view, const STiffIfd& ifd0, const STiffIfd& exif,
                   SImageSize size)
{
    const SByteOrder order = view.Order();
    TagList tags = VerbatimEntries(view.Data(), exif);
    SetNumber(tags, kTagPixelX, size.width, order);
    SetNumber(tags, kTagPixelY, size.height, order);
    const std::optional<uint32_t> at = AppendIfd(block, 0, tags, order, exif.next);
    const STiffEntry* pointer = FindEntry(ifd0, kTagExifIfd);
    if (!at || !pointer)
        return false;
    order.Put32(&block[pointer->entry + 8], *at);
    return true;
}
} // namespace

std::optional<Bytes> PatchExifBlock(std::span<const uint8_t> data, SImageSize size)
{
    const std::optional<CTiffView> view = CTiffView::Open(data);
    const std::optional<STiffIfd> ifd0 = view ? view->ReadIfd(view->FirstIfd()) : std::nullopt;
    const std::optional<STiffIfd> exif = ifd0 ? SubIfd(*view, *ifd0, kTagExifIfd) : std::nullopt;
    const std::optional<STiffIfd> gps = ifd0 ? SubIfd(*view, *ifd0, kTagGpsIfd) : std::nullopt;
    const std::optional<STiffIfd> interop = exif ? SubIfd(*view, *exif, kTagInteropIfd) : std::nullopt;
    if (!gps || !interop)
        return std::nullopt;
    const SByteOrder order = view->Order();
    Bytes block(data.begin(), data.end());
    const std::pair<uint16_t, uint32_t> dimensions[] = {{kTagPixelX, size.width}, {kTagPixelY, size.height}};
    bool missing = false;
    for (const auto& [tag, n] : dimensions) {
        if (const STiffEntry* e = FindEntry(*exif, tag))
            PatchNumber(block, order, *e, n);
        else
            missing = true;
    }
    if (ifd0->next != 0) {
        order.Put32(&block[ifd0->end - 4], 0);
        std::vector<SRange> used{{0, 8}};
        for (const STiffIfd* ifd : {&*ifd0, &*exif, &*gps, &*interop})
            if (ifd->end != 0)
                AddRanges(*ifd, used);
        size_t cut = ThumbnailTail(*view, ifd0->next);
        for (const SRange& r : used)
            cut = std::max(cut, r.end);
        if (cut < block.size())
            block.resize(cut);
    }
    if (missing && exif->end != 0 && !AddDimensions(block, *view, *ifd0, *exif, size))
        return std::nullopt;
    return block;
}

TagList TagsForOutput(const SSource& src, SImageSize size, SByteOrder to)
{
    TagList tags = src.ifd0;
    if (STag* exif = FindTag(tags, kTagExifIfd)) {
        SetNumber(exif->sub, kTagPixelX, size.width, src.order);
        SetNumber(exif->sub, kTagPixelY, size.height, src.order);
    }
    ConvertOrder(tags, src.order, to);
    return tags;
}

std::optional<Bytes> BuildExifBlock(const SSource& src, SImageSize size)
{
    Bytes block{static_cast<uint8_t>(src.order.big ? 'M' : 'I'),
                static_cast<uint8_t>(src.order.big ? 'M' : 'I')};
    src.order.Append16(block, 42);
    src.order.Append32(block, 8);
    if (!AppendIfd(block, 0, TagsForOutput(src, size, src.order), src.order, 0))
        return std::nullopt;
    return block;
}
} // namespace lvp::metadata
