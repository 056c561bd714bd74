// Small JPEG, TIFF and Exif structures built byte by byte for the metadata tests (independent of
// the writer under test), and the pixel bytes of a file for comparing before and after.
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lvp::metadata::test {
using Bytes = std::vector<uint8_t>;

struct SFixtureTag {
    uint16_t tag;
    uint16_t type;
    uint32_t count;
    Bytes value; // in the block's byte order
};

// Fixture values in a byte order.
struct SOrder {
    bool big;
    Bytes U16(uint16_t v) const;
    Bytes U32(uint32_t v) const;
    SFixtureTag Short(uint16_t tag, uint16_t v) const { return {tag, 3, 1, U16(v)}; }
    SFixtureTag Long(uint16_t tag, uint32_t v) const { return {tag, 4, 1, U32(v)}; }
    static SFixtureTag Ascii(uint16_t tag, std::string_view text);
    static SFixtureTag Undefined(uint16_t tag, Bytes bytes);
};

// An Exif block laid out as header, IFD0, Exif IFD, GPS IFD, IFD1, values, thumbnail. The
// pointers to the Exif and GPS directories and IFD1 are added where those are not empty.
struct SExifSpec {
    bool big = false;
    std::vector<SFixtureTag> ifd0, exif, gps;
    Bytes thumbnail; // a JPEG in IFD1 when not empty
};
Bytes MakeExifBlock(const SExifSpec& spec);
// Where MakeExifBlock put things, for tests that damage them.
struct SExifLayout {
    size_t ifd0 = 8, exif = 0, gps = 0, ifd1 = 0, values = 0, thumbnail = 0;
};
SExifLayout ExifLayoutOf(const SExifSpec& spec);

struct SSegment {
    uint8_t marker;
    Bytes payload;
};
SSegment Segment(uint8_t marker, std::string_view signature, std::span<const uint8_t> body);
// A baseline JPEG of the given size: SOI, the segments, DQT, SOF0, DHT, SOS, fake scan data, EOI.
Bytes MakeJpeg(const std::vector<SSegment>& segments, uint16_t width = 64, uint16_t height = 48);
// An 8-bit RGB TIFF, one strip, plus extra IFD0 tags (sorted in with the image's).
Bytes MakeTiff(bool big, uint32_t width, uint32_t height, const std::vector<SFixtureTag>& extra = {});

// A camera's JPEG of 400x300: Exif with Make, Orientation 6, DateTimeOriginal and a thumbnail.
Bytes CameraJpeg();

// The bytes that make the image: a JPEG's segments other than APPn and COM and everything from
// the scan on; a TIFF's strips or tiles. Empty when the file cannot be read.
std::optional<Bytes> PixelBytes(std::span<const uint8_t> file);
Bytes FromString(std::string_view s);
} // namespace lvp::metadata::test
