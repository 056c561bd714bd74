// Reads the first photo's metadata: Exif, XMP, IPTC and the colour profile of a JPEG or TIFF file.
#include "metadata/source.h"

#include <cstring>

#include "metadata/jpeg_segments.h"
#include "metadata/xmp_packet.h"

namespace lvp::metadata {
namespace {
Bytes Copy(std::span<const uint8_t> s)
{
    return Bytes(s.begin(), s.end());
}

// The profile from its APP2 chunks: each numbered 1..n of the same n, each number once.
std::optional<Bytes> JoinIcc(const std::vector<std::span<const uint8_t>>& chunks)
{
    if (chunks.empty())
        return Bytes{};
    std::vector<const std::span<const uint8_t>*> ordered(chunks.size(), nullptr);
    for (const std::span<const uint8_t>& c : chunks) {
        if (c.size() < 2 || c[1] != chunks.size() || c[0] == 0 || c[0] > chunks.size() || ordered[c[0] - 1])
            return std::nullopt;
        ordered[c[0] - 1] = &c;
    }
    Bytes icc;
    for (const std::span<const uint8_t>* c : ordered)
        icc.insert(icc.end(), c->begin() + 2, c->end());
    return icc;
}

// The Exif block's directories; the block itself is kept as stored.
bool ReadExifBlock(SSource& src)
{
    const std::optional<CTiffView> view = CTiffView::Open(src.exifBlock);
    std::vector<uint32_t> seen;
    std::optional<TagList> tags =
        view ? ReadTags(*view, view->FirstIfd(), ETagSet::Ifd0, seen) : std::nullopt;
    if (!tags)
        return false;
    src.order = view->Order();
    src.ifd0 = std::move(*tags);
    return true;
}

// The parts of the segments that are joined after all are read.
struct SChunks {
    std::vector<std::span<const uint8_t>> icc, extendedXmp;
};

void TakeSegment(std::span<const uint8_t> data, const SJpegSegment& s, SSource& src, SChunks& chunks)
{
    if (s.marker == kMarkerApp1 && HasSignature(data, s, kExifSignature) && src.exifBlock.empty())
        src.exifBlock = Copy(AfterSignature(data, s, kExifSignature));
    else if (s.marker == kMarkerApp1 && HasSignature(data, s, kXmpSignature) && src.xmp.empty())
        src.xmp = Copy(AfterSignature(data, s, kXmpSignature));
    else if (s.marker == kMarkerApp1 && HasSignature(data, s, kExtendedXmpSignature))
        chunks.extendedXmp.push_back(AfterSignature(data, s, kExtendedXmpSignature));
    else if (s.marker == kMarkerApp13 && HasSignature(data, s, kPhotoshopSignature))
        src.photoshop.push_back(Copy(AfterSignature(data, s, kPhotoshopSignature)));
    else if (s.marker == kMarkerApp2 && HasSignature(data, s, kIccSignature))
        chunks.icc.push_back(AfterSignature(data, s, kIccSignature));
}

std::optional<SSource> ReadJpeg(std::span<const uint8_t> data)
{
    const std::optional<SJpegLayout> layout = ParseJpeg(data);
    if (!layout)
        return std::nullopt;
    SSource src;
    SChunks chunks;
    for (const SJpegSegment& s : layout->segments)
        TakeSegment(data, s, src, chunks);
    std::optional<Bytes> icc = JoinIcc(chunks.icc);
    // Parts no packet names are left behind, as every reader leaves them.
    const std::string guid = ExtendedXmpGuid(src.xmp);
    std::optional<Bytes> extended = JoinExtendedXmp(chunks.extendedXmp, guid);
    Bytes resources;
    for (const Bytes& p : src.photoshop)
        resources.insert(resources.end(), p.begin(), p.end());
    std::optional<Bytes> iptc = IptcFromResources(resources);
    if (!icc || !iptc || !extended || (!src.exifBlock.empty() && !ReadExifBlock(src)))
        return std::nullopt;
    src.extendedXmp = std::move(*extended);
    src.icc = std::move(*icc);
    src.iptc = std::move(*iptc);
    return src;
}

std::optional<SSource> ReadTiff(std::span<const uint8_t> data)
{
    const std::optional<CTiffView> view = CTiffView::Open(data);
    const std::optional<STiffIfd> ifd = view ? view->ReadIfd(view->FirstIfd()) : std::nullopt;
    std::vector<uint32_t> seen;
    std::optional<TagList> tags = ifd ? ReadTags(*view, view->FirstIfd(), ETagSet::Ifd0, seen) : std::nullopt;
    if (!tags)
        return std::nullopt;
    SSource src;
    src.order = view->Order();
    src.ifd0 = std::move(*tags);
    // Byte blobs whatever type the writer gave them, so never reordered.
    const std::pair<uint16_t, Bytes*> blobs[] = {
        {kTagXmp, &src.xmp}, {kTagIptc, &src.iptc}, {kTagIcc, &src.icc}};
    for (const auto& [tag, into] : blobs)
        if (const STiffEntry* e = FindEntry(*ifd, tag))
            *into = Copy(view->Value(*e));
    return src;
}
} // namespace

std::optional<Bytes> IptcFromResources(std::span<const uint8_t> irb)
{
    Bytes iptc;
    size_t pos = 0;
    while (pos < irb.size()) {
        if (irb.size() - pos < 7 || std::memcmp(&irb[pos], "8BIM", 4) != 0)
            return std::nullopt;
        const uint16_t id = BigU16(&irb[pos + 4]);
        const size_t name = (size_t{irb[pos + 6]} + 2) & ~size_t{1}; // a padded Pascal string
        if (irb.size() - pos - 6 < name + 4)
            return std::nullopt;
        const size_t at = pos + 6 + name + 4;
        const size_t length = BigU32(&irb[at - 4]);
        if (irb.size() - at < length)
            return std::nullopt;
        if (id == 0x0404 && iptc.empty())
            iptc = Copy(irb.subspan(at, length));
        pos = at + length + (length & 1);
    }
    return iptc;
}

std::optional<SSource> ReadSource(std::span<const uint8_t> photo)
{
    if (IsJpeg(photo))
        return ReadJpeg(photo);
    if (TiffKind(photo) == ETiffKind::Classic)
        return ReadTiff(photo);
    return SSource{};
}
} // namespace lvp::metadata
