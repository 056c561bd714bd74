// Reads a photo's capture time, exposure and camera from the IFD0 and Exif directories of its Exif.
#include "metadata/capture_data.h"

#include <algorithm>
#include <new>
#include <string_view>
#include <utility>
#include <vector>

#include "metadata/jpeg_segments.h"
#include "metadata/tag_tree.h"
#include "metadata/tiff_ifd.h"

namespace lvp::metadata {
namespace {
enum : uint16_t {
    kTagMake = 0x010F,
    kTagModel = 0x0110,
    kTagExposureTime = 0x829A,
    kTagFNumber = 0x829D,
    kTagIso = 0x8827,
    kTagDateTimeOriginal = 0x9003,
    kTagDateTimeDigitized = 0x9004,
    kTagExposureBias = 0x9204,
    kTagSubSecOriginal = 0x9291,
    kTagSubSecDigitized = 0x9292,
    kTagBodySerial = 0xA431
};

// The directories the tags are looked up in: the Exif directory first, then IFD0 (a TIFF writer
// may put Exif tags there); either may be empty.
struct SDirectories {
    const CTiffView* view = nullptr;
    STiffIfd ifd0, exif;

    const STiffEntry* Find(uint16_t tag) const
    {
        const STiffEntry* e = FindEntry(exif, tag);
        return e ? e : FindEntry(ifd0, tag);
    }
    // A text value up to its first NUL, without surrounding spaces; empty when absent or not text.
    std::string_view Text(uint16_t tag) const
    {
        const STiffEntry* e = Find(tag);
        if (!e || TiffTypeSize(e->type) != 1)
            return {};
        const std::span<const uint8_t> v = view->Value(*e);
        std::string_view s(reinterpret_cast<const char*>(v.data()), v.size());
        s = s.substr(0, s.find('\0'));
        const size_t first = s.find_first_not_of(' ');
        if (first == std::string_view::npos)
            return {};
        return s.substr(first, s.find_last_not_of(' ') - first + 1);
    }
    // A rational within [min, max]; empty when absent, of a zero denominator or outside.
    std::optional<double> Rational(uint16_t tag, double min, double max) const
    {
        const STiffEntry* e = Find(tag);
        const std::optional<double> v = e ? view->Rational(*e) : std::nullopt;
        return v && *v >= min && *v <= max ? v : std::nullopt;
    }
};

// The digits of text[at, at + n) as a number; empty when one is no digit.
std::optional<int> Digits(std::string_view text, size_t at, size_t n)
{
    int v = 0;
    for (size_t i = at; i < at + n; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        v = v * 10 + (text[i] - '0');
    }
    return v;
}

bool IsLeapYear(int y)
{
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

// Days from 1970-01-01 to the date of the proleptic Gregorian calendar (from the day count of
// whole 400-year eras from 0000-03-01, the year taken to begin in March so that the leap day is
// its last).
int64_t DaysFromCivil(int y, int m, int d)
{
    y -= m <= 2 ? 1 : 0;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

// "YYYY:MM:DD HH:MM:SS" (what follows is ignored) as seconds since 1970; empty when it is blank or
// any field lies outside its range.
std::optional<double> ParseDateTime(std::string_view text)
{
    if (text.size() < 19 || text[4] != ':' || text[7] != ':' || text[10] != ' ' || text[13] != ':' ||
        text[16] != ':')
        return std::nullopt;
    const std::optional<int> y = Digits(text, 0, 4), mo = Digits(text, 5, 2), d = Digits(text, 8, 2),
                             h = Digits(text, 11, 2), mi = Digits(text, 14, 2), s = Digits(text, 17, 2);
    if (!y || !mo || !d || !h || !mi || !s || *y < 1 || *mo < 1 || *mo > 12 || *d < 1 || *h > 23 ||
        *mi > 59 || *s > 59)
        return std::nullopt;
    constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (*d > kDays[*mo - 1] + (*mo == 2 && IsLeapYear(*y)))
        return std::nullopt;
    return static_cast<double>(DaysFromCivil(*y, *mo, *d) * 86400 + int64_t{*h} * 3600 + int64_t{*mi} * 60 +
                               *s);
}

// A sub-second digit string as the decimal fraction it writes ("5" 0.5, "050" 0.05); empty when it
// is blank or holds anything but digits. Digits past the ninth are checked but not counted.
std::optional<double> ParseSubSeconds(std::string_view text)
{
    if (text.empty())
        return std::nullopt;
    const size_t n = std::min<size_t>(text.size(), 9);
    const std::optional<int> value = Digits(text, 0, n);
    if (!value || !Digits(text, n, text.size() - n))
        return std::nullopt;
    double scale = 1;
    for (size_t i = 0; i < n; ++i)
        scale *= 10;
    return *value / scale;
}

void ReadTime(const SDirectories& dirs, SCaptureData& out)
{
    const std::pair<uint16_t, uint16_t> pairs[] = {{kTagDateTimeOriginal, kTagSubSecOriginal},
                                                   {kTagDateTimeDigitized, kTagSubSecDigitized}};
    for (const auto& [timeTag, subSecTag] : pairs) {
        const std::optional<double> seconds = ParseDateTime(dirs.Text(timeTag));
        if (!seconds)
            continue;
        const std::optional<double> fraction = ParseSubSeconds(dirs.Text(subSecTag));
        out.captureTime = *seconds + fraction.value_or(0);
        out.bWholeSeconds = !fraction;
        return;
    }
}

std::string Camera(const SDirectories& dirs)
{
    const std::string_view make = dirs.Text(kTagMake), model = dirs.Text(kTagModel);
    if (make.empty() && model.empty())
        return {};
    std::string camera(make);
    for (const std::string_view part : {model, dirs.Text(kTagBodySerial)}) {
        if (part.empty())
            continue;
        if (!camera.empty())
            camera += ' ';
        camera += part;
    }
    return camera;
}

// A JPEG's Exif TIFF block (its first Exif APP1; empty when it has none), any other file as it is.
std::span<const uint8_t> ExifStructure(std::span<const uint8_t> file)
{
    if (!IsJpeg(file))
        return file;
    const std::optional<SJpegLayout> layout = ParseJpeg(file, true);
    for (const SJpegSegment& s : layout ? layout->segments : std::vector<SJpegSegment>{})
        if (s.marker == kMarkerApp1 && HasSignature(file, s, kExifSignature))
            return AfterSignature(file, s, kExifSignature);
    return {};
}

SCaptureData Read(std::span<const uint8_t> file)
{
    SCaptureData out;
    out.size = ReadImageSize(file);
    const std::optional<CTiffView> view = CTiffView::Open(ExifStructure(file));
    if (!view)
        return out;
    SDirectories dirs{&*view, {}, {}};
    // An entry whose value lies outside the block is unknown; the others still count.
    if (std::optional<STiffIfd> ifd0 = view->ReadIfd(view->FirstIfd(), true)) {
        dirs.ifd0 = std::move(*ifd0);
        if (std::optional<STiffIfd> exif = SubIfd(*view, dirs.ifd0, kTagExifIfd, true))
            dirs.exif = std::move(*exif);
    }
    ReadTime(dirs, out);
    // The ranges leave out what no camera writes: the zeros of an unknown value, a value read
    // with the wrong sign.
    out.exposureSeconds = dirs.Rational(kTagExposureTime, 1e-7, 86400);
    out.exposureBias = dirs.Rational(kTagExposureBias, -20, 20);
    out.fNumber = dirs.Rational(kTagFNumber, 0.5, 1000);
    const STiffEntry* iso = dirs.Find(kTagIso);
    if (const std::optional<uint32_t> n = iso ? view->Number(*iso) : std::nullopt;
        n && *n > 0 && *n <= 10'000'000)
        out.iso = *n;
    out.strCamera = Camera(dirs);
    return out;
}
} // namespace

SCaptureData ReadCaptureData(std::span<const uint8_t> file) noexcept
{
    try {
        return Read(file);
    } catch (const std::bad_alloc&) {
        return {};
    }
}
} // namespace lvp::metadata
