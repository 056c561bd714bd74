// Carries a photo's metadata into a TIFF output: the output's bytes stay where they are (strips,
// tiles and every value its directory points to), and a new first directory, the old one's
// entries plus the photo's, is appended with the values and directories it adds.
#include <cstdint>

#include "metadata/carry.h"
#include "metadata/exif_block.h"
#include "metadata/image_size.h"
#include "metadata/xmp_packet.h"

namespace lvp::metadata {
namespace {
// Whether a strip or tile of the output runs past its end (the file is cut short: bytes appended
// would become pixels) or covers the header's first-directory offset, which the rewriting changes.
bool PixelsDamaged(const CTiffView& view, const STiffIfd& ifd)
{
    const size_t size = view.Data().size();
    const std::pair<uint16_t, uint16_t> layouts[] = {{273, 279}, {324, 325}}; // strips, tiles
    for (const auto& [offsetTag, countTag] : layouts) {
        const STiffEntry* offsets = FindEntry(ifd, offsetTag);
        const STiffEntry* counts = FindEntry(ifd, countTag);
        for (uint32_t i = 0; offsets && counts && i < offsets->count; ++i) {
            const std::optional<uint32_t> at = view.Number(*offsets, i), n = view.Number(*counts, i);
            if (!at || !n)
                break; // not numbers (the count of an unknown type is not bounded by the file)
            if (uint64_t{*at} + *n > size || (*at < 8 && uint64_t{*at} + *n > 4))
                return true;
        }
    }
    return false;
}

// Merges the photo's tags into the output's: the photo's descriptive tags replace the output's
// (a fusion program writes an orientation of its own, "normal", that would lay a portrait on its
// side); of the others the output keeps its own. Returns how many of the photo's were taken.
size_t Merge(TagList& tags, const SSource& src, const Bytes& xmp, SImageSize size, SByteOrder order)
{
    TagList added = TagsForOutput(src, size, order);
    // Byte blobs, written as bytes whatever type the photo's writer chose.
    const std::pair<uint16_t, const Bytes*> blobs[] = {
        {kTagXmp, &xmp}, {kTagIptc, &src.iptc}, {kTagIcc, &src.icc}};
    for (const auto& [tag, bytes] : blobs)
        if (!bytes->empty() && bytes->size() <= UINT32_MAX)
            added.push_back({tag,
                             tag == kTagXmp ? kTypeByte : kTypeUndefined,
                             static_cast<uint32_t>(bytes->size()),
                             *bytes,
                             {},
                             ETagKind::Value});
    size_t count = 0;
    for (STag& t : added) {
        STag* own = FindTag(tags, t.tag);
        if (own && !IsDescriptiveTag(t.tag))
            continue;
        if (own)
            *own = std::move(t);
        else
            tags.push_back(std::move(t));
        ++count;
    }
    SortTags(tags);
    return count;
}
} // namespace

SCarryResult CarryIntoTiff(const std::optional<SSource>& src, std::span<const uint8_t> output)
{
    const std::optional<CTiffView> view = CTiffView::Open(output);
    const std::optional<STiffIfd> ifd0 = view ? view->ReadIfd(view->FirstIfd()) : std::nullopt;
    const std::optional<SImageSize> size = ifd0 ? TiffImageSize(*view, *ifd0) : std::nullopt;
    if (!size || PixelsDamaged(*view, *ifd0))
        return {ECarryOutcome::OutputUnreadable, {}};
    if (FindEntry(*ifd0, kTagExifIfd))
        return {ECarryOutcome::OutputHasExif, {}};
    if (!src)
        return {ECarryOutcome::SourceDamaged, {}};
    // A TIFF tag has room for the whole packet: a JPEG photo's extended XMP joins its main packet.
    const std::optional<Bytes> xmp =
        src->extendedXmp.empty() ? src->xmp : MergeExtendedXmp(src->xmp, src->extendedXmp);
    if (!xmp)
        return {ECarryOutcome::CannotRewrite, {}};
    TagList tags = VerbatimEntries(output, *ifd0);
    if (Merge(tags, *src, *xmp, *size, view->Order()) == 0)
        return {ECarryOutcome::NothingToCarry, {}};
    SCarryResult result{ECarryOutcome::Done, Bytes(output.begin(), output.end())};
    const std::optional<uint32_t> at = AppendIfd(result.rewritten, 0, tags, view->Order(), ifd0->next);
    if (!at)
        return {ECarryOutcome::CannotRewrite, {}};
    view->Order().Put32(result.rewritten.data() + 4, *at);
    return result;
}
} // namespace lvp::metadata
