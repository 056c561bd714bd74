// Carries a photo's metadata into a JPEG output: new APPn segments after SOI (and JFIF), every
// other byte of the output copied as it is.
#include <algorithm>

#include "metadata/carry.h"
#include "metadata/exif_block.h"
#include "metadata/image_size.h"
#include "metadata/jpeg_segments.h"
#include "metadata/xmp_packet.h"

namespace lvp::metadata {
namespace {
// What the output already holds (then the photo's is not added).
struct SPresent {
    bool exif = false, xmp = false, iptc = false, icc = false;
};

// The signatures by which segments are told apart.
struct SSegmentKind {
    uint8_t marker;
    std::string_view signature;
    bool SPresent::*flag;
};
constexpr SSegmentKind kKinds[] = {{kMarkerApp1, kExifSignature, &SPresent::exif},
                                   {kMarkerApp1, kXmpSignature, &SPresent::xmp},
                                   {kMarkerApp13, kPhotoshopSignature, &SPresent::iptc},
                                   {kMarkerApp2, kIccSignature, &SPresent::icc}};
// Data bytes of one ICC_PROFILE chunk: the payload less the signature and the two numbers.
constexpr size_t kIccChunk = kMaxSegmentPayload - kIccSignature.size() - 2;

SPresent Present(std::span<const uint8_t> data, const SJpegLayout& layout)
{
    SPresent present;
    for (const SJpegSegment& s : layout.segments)
        for (const SSegmentKind& k : kKinds)
            if (s.marker == k.marker && HasSignature(data, s, k.signature))
                present.*k.flag = true;
    return present;
}

// Appends one segment of signature + head + body; false when it does not fit a segment.
bool AppendSegment(Bytes& out, uint8_t marker, std::string_view signature, std::span<const uint8_t> head,
                   std::span<const uint8_t> body = {})
{
    const size_t payload = signature.size() + head.size() + body.size();
    if (payload > kMaxSegmentPayload)
        return false;
    out.insert(out.end(),
               {0xFF, marker, static_cast<uint8_t>((payload + 2) >> 8), static_cast<uint8_t>(payload + 2)});
    out.insert(out.end(), signature.begin(), signature.end());
    out.insert(out.end(), head.begin(), head.end());
    out.insert(out.end(), body.begin(), body.end());
    return true;
}

bool AppendIcc(Bytes& out, const Bytes& icc)
{
    const size_t chunks = (icc.size() + kIccChunk - 1) / kIccChunk;
    if (chunks > 255)
        return false;
    for (size_t i = 0; i < chunks; ++i) {
        const uint8_t numbers[] = {static_cast<uint8_t>(i + 1), static_cast<uint8_t>(chunks)};
        const size_t n = std::min(kIccChunk, icc.size() - i * kIccChunk);
        AppendSegment(out, kMarkerApp2, kIccSignature, numbers, std::span(icc).subspan(i * kIccChunk, n));
    }
    return true;
}

// The photo's IPTC records as one Photoshop resource (a TIFF photo has no resource block).
bool AppendIptc(Bytes& out, const Bytes& iptc)
{
    Bytes resource{'8', 'B', 'I', 'M', 0x04, 0x04, 0, 0};
    SByteOrder{true}.Append32(resource, static_cast<uint32_t>(std::min<size_t>(iptc.size(), UINT32_MAX)));
    const uint8_t pad[1] = {0};
    Bytes body(iptc);
    body.insert(body.end(), pad, pad + (iptc.size() & 1));
    return AppendSegment(out, kMarkerApp13, kPhotoshopSignature, resource, body);
}

bool AppendExif(Bytes& out, const SSource& src, SImageSize size)
{
    if (src.ifd0.empty())
        return true;
    std::optional<Bytes> block =
        src.exifBlock.empty() ? BuildExifBlock(src, size) : PatchExifBlock(src.exifBlock, size);
    return block && AppendSegment(out, kMarkerApp1, kExifSignature, *block);
}

bool AppendExtendedXmp(Bytes& out, std::span<const uint8_t> extended, std::string_view guid)
{
    constexpr size_t kData = kMaxSegmentPayload - kExtendedXmpSignature.size() - 40; // GUID, length, offset
    for (const Bytes& part : ExtendedXmpParts(extended, guid, kData))
        if (!AppendSegment(out, kMarkerApp1, kExtendedXmpSignature, part))
            return false;
    return true;
}

// The packet, split into a main packet and extended XMP when it is too large for one segment
// (a TIFF photo's packet has no such limit).
bool AppendXmp(Bytes& out, const SSource& src)
{
    constexpr size_t kLimit = kMaxSegmentPayload - kXmpSignature.size();
    if (src.xmp.size() > kLimit && src.extendedXmp.empty()) {
        const std::optional<SXmpSplit> split = SplitXmp(src.xmp, kLimit);
        return split && AppendSegment(out, kMarkerApp1, kXmpSignature, split->main) &&
               AppendExtendedXmp(out, split->extended, split->guid);
    }
    return AppendSegment(out, kMarkerApp1, kXmpSignature, src.xmp) &&
           AppendExtendedXmp(out, src.extendedXmp, ExtendedXmpGuid(src.xmp));
}

// The new segments; empty when one does not fit its segment.
std::optional<Bytes> MetadataSegments(const SSource& src, SPresent present, SImageSize size)
{
    Bytes out;
    bool ok = AppendExif(out, src, size);
    if (ok && !present.xmp && !src.xmp.empty())
        ok = AppendXmp(out, src);
    if (ok && !present.icc && !src.icc.empty())
        ok = AppendIcc(out, src.icc);
    if (ok && !present.iptc && !src.photoshop.empty())
        for (const Bytes& part : src.photoshop)
            ok = ok && AppendSegment(out, kMarkerApp13, kPhotoshopSignature, part);
    else if (ok && !present.iptc && !src.iptc.empty())
        ok = AppendIptc(out, src.iptc);
    return ok ? std::optional(std::move(out)) : std::nullopt;
}

// After SOI and the JFIF (APP0) segments, which a reader expects first.
size_t InsertionPoint(const SJpegLayout& layout)
{
    size_t at = 2;
    for (const SJpegSegment& s : layout.segments) {
        if (s.marker != kMarkerApp0)
            break;
        at = s.end;
    }
    return at;
}
} // namespace

SCarryResult CarryIntoJpeg(const std::optional<SSource>& src, std::span<const uint8_t> output)
{
    const std::optional<SJpegLayout> layout = ParseJpeg(output);
    const std::optional<SImageSize> size = layout ? JpegFrameSize(output, *layout) : std::nullopt;
    if (!size)
        return {ECarryOutcome::OutputUnreadable, {}};
    const SPresent present = Present(output, *layout);
    if (present.exif)
        return {ECarryOutcome::OutputHasExif, {}};
    if (!src)
        return {ECarryOutcome::SourceDamaged, {}};
    const std::optional<Bytes> segments = MetadataSegments(*src, present, *size);
    if (!segments)
        return {ECarryOutcome::CannotRewrite, {}};
    if (segments->empty())
        return {ECarryOutcome::NothingToCarry, {}};
    const size_t at = InsertionPoint(*layout);
    SCarryResult result{ECarryOutcome::Done, {}};
    result.rewritten.reserve(output.size() + segments->size());
    result.rewritten.insert(result.rewritten.end(), output.begin(),
                            output.begin() + static_cast<std::ptrdiff_t>(at));
    result.rewritten.insert(result.rewritten.end(), segments->begin(), segments->end());
    result.rewritten.insert(result.rewritten.end(), output.begin() + static_cast<std::ptrdiff_t>(at),
                            output.end());
    return result;
}
} // namespace lvp::metadata
