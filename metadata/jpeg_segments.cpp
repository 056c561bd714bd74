// Reads the marker segments of a JPEG file up to its first scan.
#include "metadata/jpeg_segments.h"

#include "metadata/byte_order.h"

namespace lvp::metadata {
namespace {
bool IsStandalone(uint8_t marker)
{
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}
} // namespace

bool IsJpeg(std::span<const uint8_t> data)
{
    return data.size() >= 3 && data[0] == 0xFF && data[1] == kMarkerSoi && data[2] == 0xFF;
}

bool IsFrameMarker(uint8_t marker)
{
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

bool IsAppMarker(uint8_t marker)
{
    return marker >= kMarkerApp0 && marker <= 0xEF;
}

std::optional<SJpegLayout> ParseJpeg(std::span<const uint8_t> data, bool toFrame)
{
    if (!IsJpeg(data))
        return std::nullopt;
    SJpegLayout layout;
    size_t pos = 2;
    for (;;) {
        if (pos >= data.size() || data[pos] != 0xFF)
            return std::nullopt;
        while (pos < data.size() && data[pos] == 0xFF) // fill bytes before a marker
            ++pos;
        if (pos >= data.size())
            return std::nullopt;
        SJpegSegment s{data[pos], pos - 1, pos + 1, pos + 1};
        if (s.marker == 0x00 || s.marker == kMarkerSoi || s.marker == kMarkerEoi)
            return std::nullopt; // no scan before the end of the image
        if (!IsStandalone(s.marker)) {
            if (data.size() - s.payload < 2)
                return std::nullopt;
            const size_t length = BigU16(&data[s.payload]);
            if (length < 2 || length > data.size() - s.payload)
                return std::nullopt;
            s.end = s.payload + length;
            s.payload += 2;
        }
        layout.segments.push_back(s);
        if (toFrame && IsFrameMarker(s.marker))
            return layout;
        if (s.marker == kMarkerSos) {
            layout.scanStart = s.start;
            return layout;
        }
        pos = s.end;
    }
}

bool HasSignature(std::span<const uint8_t> data, const SJpegSegment& s, std::string_view signature)
{
    if (s.end - s.payload < signature.size())
        return false;
    for (size_t i = 0; i < signature.size(); ++i)
        if (data[s.payload + i] != static_cast<uint8_t>(signature[i]))
            return false;
    return true;
}

std::span<const uint8_t> AfterSignature(std::span<const uint8_t> data, const SJpegSegment& s,
                                        std::string_view signature)
{
    return data.subspan(s.payload + signature.size(), s.end - s.payload - signature.size());
}
} // namespace lvp::metadata
