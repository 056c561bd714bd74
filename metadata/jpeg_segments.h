// The marker segments of a JPEG file up to its first scan, read without trusting any length.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace lvp::metadata {
enum : uint8_t {
    kMarkerSoi = 0xD8,
    kMarkerEoi = 0xD9,
    kMarkerSos = 0xDA,
    kMarkerApp0 = 0xE0,
    kMarkerApp1 = 0xE1,
    kMarkerApp2 = 0xE2,
    kMarkerApp13 = 0xED,
    kMarkerCom = 0xFE
};

// One segment: start is its marker's 0xFF, payload the first byte after the length field, end
// the first byte after the segment. A marker without length (RSTn, TEM) has payload == end.
struct SJpegSegment {
    uint8_t marker = 0;
    size_t start = 0;
    size_t payload = 0;
    size_t end = 0;
};

// The segments from SOI up to and including the first SOS; the scan data follows the SOS
// segment's end and runs to the end of the file (further scans, tables and EOI included).
struct SJpegLayout {
    std::vector<SJpegSegment> segments;
    size_t scanStart = 0; // the SOS marker
};

bool IsJpeg(std::span<const uint8_t> data);
// Empty when the file is not a JPEG, a length runs past the end, or no scan follows. With
// toFrame, the segments up to the first frame header (then scanStart is 0), so that the start
// of a file is enough.
std::optional<SJpegLayout> ParseJpeg(std::span<const uint8_t> data, bool toFrame = false);
// Whether an APPn segment's payload begins with the signature (its terminating NULs included).
bool HasSignature(std::span<const uint8_t> data, const SJpegSegment& s, std::string_view signature);
// The payload after the signature.
std::span<const uint8_t> AfterSignature(std::span<const uint8_t> data, const SJpegSegment& s,
                                        std::string_view signature);
// A frame header (SOF0..SOF15 without DHT, JPG and DAC).
bool IsFrameMarker(uint8_t marker);
bool IsAppMarker(uint8_t marker);

// The APPn signatures the metadata lives under.
inline constexpr std::string_view kExifSignature{"Exif\0\0", 6};
inline constexpr std::string_view kXmpSignature{"http://ns.adobe.com/xap/1.0/\0", 29};
inline constexpr std::string_view kExtendedXmpSignature{"http://ns.adobe.com/xmp/extension/\0", 35};
inline constexpr std::string_view kIccSignature{"ICC_PROFILE\0", 12};
inline constexpr std::string_view kPhotoshopSignature{"Photoshop 3.0\0", 14};
// The largest payload of a segment (the length field counts itself).
inline constexpr size_t kMaxSegmentPayload = 65533;
} // namespace lvp::metadata
