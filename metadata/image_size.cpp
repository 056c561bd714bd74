// Reads the image size of a JPEG (its first frame header) or a TIFF (ImageWidth, ImageLength).
#include "metadata/image_size.h"

#include "metadata/byte_order.h"
#include "metadata/tag_tree.h"

namespace lvp::metadata {
std::optional<SImageSize> JpegFrameSize(std::span<const uint8_t> data, const SJpegLayout& layout)
{
    for (const SJpegSegment& s : layout.segments) {
        if (!IsFrameMarker(s.marker))
            continue;
        if (s.end - s.payload < 5)
            return std::nullopt;
        const SImageSize size{BigU16(&data[s.payload + 3]), BigU16(&data[s.payload + 1])};
        return size.width && size.height ? std::optional(size) : std::nullopt;
    }
    return std::nullopt;
}

std::optional<SImageSize> TiffImageSize(const CTiffView& view, const STiffIfd& ifd)
{
    const STiffEntry* w = FindEntry(ifd, kTagImageWidth);
    const STiffEntry* h = FindEntry(ifd, kTagImageLength);
    const std::optional<uint32_t> width = w ? view.Number(*w) : std::nullopt;
    const std::optional<uint32_t> height = h ? view.Number(*h) : std::nullopt;
    if (!width || !height || !*width || !*height)
        return std::nullopt;
    return SImageSize{*width, *height};
}

std::optional<SImageSize> ReadImageSize(std::span<const uint8_t> file)
{
    if (IsJpeg(file)) {
        const std::optional<SJpegLayout> layout = ParseJpeg(file, true);
        return layout ? JpegFrameSize(file, *layout) : std::nullopt;
    }
    const std::optional<CTiffView> view = CTiffView::Open(file);
    const std::optional<STiffIfd> ifd = view ? view->ReadIfd(view->FirstIfd()) : std::nullopt;
    return ifd ? TiffImageSize(*view, *ifd) : std::nullopt;
}
} // namespace lvp::metadata
