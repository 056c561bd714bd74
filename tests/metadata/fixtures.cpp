// Builds the metadata tests' JPEG, TIFF and Exif fixtures byte by byte.
#include "tests/metadata/fixtures.h"

#include <algorithm>

#include "metadata/jpeg_segments.h"
#include "metadata/tiff_ifd.h"

namespace lvp::metadata::test {
namespace {
size_t IfdSize(size_t entries)
{
    return entries ? 2 + 12 * entries + 4 : 0;
}

// Writes one directory at `at`, its long values at `values` (advanced), as the block's order.
void WriteIfd(Bytes& out, size_t at, std::vector<SFixtureTag> tags, const SOrder& o, size_t& values,
              uint32_t next)
{
    std::sort(tags.begin(), tags.end(), [](const auto& a, const auto& b) { return a.tag < b.tag; });
    auto put = [&out](size_t pos, const Bytes& b) {
        std::copy(b.begin(), b.end(), out.begin() + static_cast<std::ptrdiff_t>(pos));
    };
    put(at, o.U16(static_cast<uint16_t>(tags.size())));
    for (size_t i = 0; i < tags.size(); ++i) {
        const size_t e = at + 2 + 12 * i;
        put(e, o.U16(tags[i].tag));
        put(e + 2, o.U16(tags[i].type));
        put(e + 4, o.U32(tags[i].count));
        if (tags[i].value.size() <= 4) {
            put(e + 8, tags[i].value);
        } else {
            put(e + 8, o.U32(static_cast<uint32_t>(values)));
            put(values, tags[i].value);
            values += (tags[i].value.size() + 1) & ~size_t{1};
        }
    }
    put(at + 2 + 12 * tags.size(), o.U32(next));
}

size_t LongValues(const std::vector<SFixtureTag>& tags)
{
    size_t n = 0;
    for (const auto& t : tags)
        n += t.value.size() > 4 ? (t.value.size() + 1) & ~size_t{1} : 0;
    return n;
}
} // namespace

Bytes SOrder::U16(uint16_t v) const
{
    return big ? Bytes{uint8_t(v >> 8), uint8_t(v)} : Bytes{uint8_t(v), uint8_t(v >> 8)};
}

Bytes SOrder::U32(uint32_t v) const
{
    Bytes b{uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
    if (big)
        std::reverse(b.begin(), b.end());
    return b;
}

SFixtureTag SOrder::Ascii(uint16_t tag, std::string_view text)
{
    Bytes b = FromString(text);
    b.push_back(0);
    return {tag, 2, static_cast<uint32_t>(b.size()), b};
}

SFixtureTag SOrder::Undefined(uint16_t tag, Bytes bytes)
{
    return {tag, 7, static_cast<uint32_t>(bytes.size()), std::move(bytes)};
}

Bytes FromString(std::string_view s)
{
    return Bytes(s.begin(), s.end());
}

SExifLayout ExifLayoutOf(const SExifSpec& s)
{
    SExifLayout l;
    const size_t ifd0Entries = s.ifd0.size() + !s.exif.empty() + !s.gps.empty();
    l.exif = l.ifd0 + IfdSize(ifd0Entries);
    l.gps = l.exif + IfdSize(s.exif.size());
    l.ifd1 = l.gps + IfdSize(s.gps.size());
    l.values = l.ifd1 + (s.thumbnail.empty() ? 0 : IfdSize(2));
    l.thumbnail = l.values + LongValues(s.ifd0) + LongValues(s.exif) + LongValues(s.gps);
    return l;
}

Bytes MakeExifBlock(const SExifSpec& s)
{
    const SOrder o{s.big};
    const SExifLayout l = ExifLayoutOf(s);
    Bytes out(l.thumbnail + s.thumbnail.size(), 0);
    out[0] = out[1] = s.big ? 'M' : 'I';
    std::copy_n(o.U16(42).begin(), 2, out.begin() + 2);
    std::copy_n(o.U32(8).begin(), 4, out.begin() + 4);
    std::vector<SFixtureTag> ifd0 = s.ifd0;
    if (!s.exif.empty())
        ifd0.push_back(o.Long(34665, static_cast<uint32_t>(l.exif)));
    if (!s.gps.empty())
        ifd0.push_back(o.Long(34853, static_cast<uint32_t>(l.gps)));
    size_t values = l.values;
    WriteIfd(out, l.ifd0, ifd0, o, values, s.thumbnail.empty() ? 0 : static_cast<uint32_t>(l.ifd1));
    if (!s.exif.empty())
        WriteIfd(out, l.exif, s.exif, o, values, 0);
    if (!s.gps.empty())
        WriteIfd(out, l.gps, s.gps, o, values, 0);
    if (!s.thumbnail.empty()) {
        WriteIfd(out, l.ifd1,
                 {o.Long(513, static_cast<uint32_t>(l.thumbnail)),
                  o.Long(514, static_cast<uint32_t>(s.thumbnail.size()))},
                 o, values, 0);
        std::copy(s.thumbnail.begin(), s.thumbnail.end(),
                  out.begin() + static_cast<std::ptrdiff_t>(l.thumbnail));
    }
    return out;
}

SSegment Segment(uint8_t marker, std::string_view signature, std::span<const uint8_t> body)
{
    Bytes payload = FromString(signature);
    payload.insert(payload.end(), body.begin(), body.end());
    return {marker, payload};
}

Bytes MakeJpeg(const std::vector<SSegment>& segments, uint16_t width, uint16_t height)
{
    Bytes out{0xFF, 0xD8};
    auto add = [&out](uint8_t marker, const Bytes& payload) {
        const size_t n = payload.size() + 2;
        out.insert(out.end(), {0xFF, marker, uint8_t(n >> 8), uint8_t(n)});
        out.insert(out.end(), payload.begin(), payload.end());
    };
    for (const SSegment& s : segments)
        add(s.marker, s.payload);
    Bytes dqt(65, 1);
    dqt[0] = 0;
    add(0xDB, dqt);
    add(0xC0, {8, uint8_t(height >> 8), uint8_t(height), uint8_t(width >> 8), uint8_t(width), 1, 1, 0x11, 0});
    add(0xC4, {0x00, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    add(0xDA, {1, 1, 0, 0, 63, 0});
    out.insert(out.end(), {0x12, 0x34, 0xFF, 0x00, 0x56, 0xFF, 0xD0, 0x78, 0xFF, 0xD9});
    return out;
}

Bytes MakeTiff(bool big, uint32_t width, uint32_t height, const std::vector<SFixtureTag>& extra)
{
    const SOrder o{big};
    std::vector<SFixtureTag> tags = {
        o.Long(256, width), o.Long(257, height), {258, 3, 3, {}},
        o.Short(259, 1),    o.Short(262, 2),     o.Long(273, 0),
        o.Short(277, 3),    o.Long(278, height), o.Long(279, width * height * 3)};
    for (int i = 0; i < 3; ++i) {
        const Bytes eight = o.U16(8);
        tags[2].value.insert(tags[2].value.end(), eight.begin(), eight.end());
    }
    tags.insert(tags.end(), extra.begin(), extra.end());
    const size_t pixels = 8, ifd = pixels + width * height * 3 + (width * height * 3) % 2;
    tags[5] = o.Long(273, static_cast<uint32_t>(pixels));
    Bytes out(ifd + IfdSize(tags.size()) + LongValues(tags), 0);
    out[0] = out[1] = big ? 'M' : 'I';
    std::copy_n(o.U16(42).begin(), 2, out.begin() + 2);
    std::copy_n(o.U32(static_cast<uint32_t>(ifd)).begin(), 4, out.begin() + 4);
    for (size_t i = 0; i < width * height * 3; ++i)
        out[pixels + i] = static_cast<uint8_t>(i * 7 + 3);
    size_t values = ifd + IfdSize(tags.size());
    WriteIfd(out, ifd, tags, o, values, 0);
    return out;
}

std::optional<Bytes> PixelBytes(std::span<const uint8_t> file)
{
    Bytes pixels;
    if (const std::optional<SJpegLayout> layout = ParseJpeg(file)) {
        for (const SJpegSegment& s : layout->segments)
            if (!IsAppMarker(s.marker) && s.marker != kMarkerCom && s.marker != kMarkerSos)
                pixels.insert(pixels.end(), file.begin() + s.start, file.begin() + s.end);
        pixels.insert(pixels.end(), file.begin() + layout->scanStart, file.end());
        return pixels;
    }
    const std::optional<CTiffView> view = CTiffView::Open(file);
    const std::optional<STiffIfd> ifd = view ? view->ReadIfd(view->FirstIfd()) : std::nullopt;
    if (!ifd)
        return std::nullopt;
    const STiffEntry* offsets = FindEntry(*ifd, 273) ? FindEntry(*ifd, 273) : FindEntry(*ifd, 324);
    const STiffEntry* counts = FindEntry(*ifd, 279) ? FindEntry(*ifd, 279) : FindEntry(*ifd, 325);
    if (!offsets || !counts || offsets->count != counts->count)
        return std::nullopt;
    for (uint32_t i = 0; i < offsets->count; ++i) {
        const std::optional<uint32_t> at = view->Number(*offsets, i), n = view->Number(*counts, i);
        if (!at || !n || *at > file.size() || file.size() - *at < *n)
            return std::nullopt;
        pixels.insert(pixels.end(), file.begin() + *at, file.begin() + *at + *n);
    }
    return pixels;
}
Bytes CameraJpeg()
{
    SExifSpec spec;
    spec.ifd0 = {SOrder::Ascii(271, "Lumivant"), SOrder{false}.Short(274, 6)};
    spec.exif = {SOrder::Ascii(36867, "2024:05:01 10:20:30")};
    spec.thumbnail = MakeJpeg({}, 8, 8);
    return MakeJpeg({Segment(0xE1, std::string_view("Exif\0\0", 6), MakeExifBlock(spec))}, 400, 300);
}
} // namespace lvp::metadata::test
