// ReadCaptureData over hand-built JPEGs and TIFFs: which time tags count, the sub-second digits, the
// day count, the exposure values and their unknowns, the camera text, damaged and foreign files.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <ostream>
#include <vector>

#include "metadata/capture_data.h"
#include "tests/metadata/fixtures.h"

namespace lvp::metadata {
// Readable failures: the fields, not the struct's bytes.
void PrintTo(const SCaptureData& d, std::ostream* os)
{
    auto put = [os](const char* name, const std::optional<double>& v) {
        *os << name << '=';
        if (v)
            *os << std::fixed << *v;
        else
            *os << '-';
        *os << ' ';
    };
    put("time", d.captureTime);
    *os << "whole=" << d.bWholeSeconds << ' ';
    put("exposure", d.exposureSeconds);
    put("bias", d.exposureBias);
    put("f", d.fNumber);
    put("iso", d.iso);
    *os << "camera='" << d.strCamera << "' size=";
    if (d.size)
        *os << d.size->width << 'x' << d.size->height;
    else
        *os << '-';
}

namespace test {
namespace {
constexpr double k20240501102030 = 1714558830; // 2024-05-01 10:20:30

SFixtureTag Rational(const SOrder& o, uint16_t tag, uint32_t num, uint32_t den, bool isSigned = false)
{
    Bytes v = o.U32(num);
    const Bytes d = o.U32(den);
    v.insert(v.end(), d.begin(), d.end());
    return {tag, static_cast<uint16_t>(isSigned ? 10 : 5), 1, v};
}

// A camera's Exif: every field the reader takes, in byte order `big`.
SExifSpec FullExif(bool big)
{
    const SOrder o{big};
    SExifSpec s;
    s.big = big;
    s.ifd0 = {SOrder::Ascii(0x010F, "Lumivant  "), SOrder::Ascii(0x0110, "LV-1"),
              SOrder::Ascii(0x0132, "2030:01:01 00:00:00")};
    s.exif = {Rational(o, 0x829A, 1, 250),
              Rational(o, 0x829D, 8, 1),
              o.Short(0x8827, 200),
              SOrder::Ascii(0x9003, "2024:05:01 10:20:30"),
              SOrder::Ascii(0x9004, "2024:05:01 10:20:35"),
              Rational(o, 0x9204, static_cast<uint32_t>(-2), 3, true),
              SOrder::Ascii(0x9291, "25"),
              SOrder::Ascii(0x9292, "75"),
              SOrder::Ascii(0xA431, "0042")};
    return s;
}

SCaptureData FullData()
{
    SCaptureData d;
    d.captureTime = k20240501102030 + 0.25;
    d.exposureSeconds = 1.0 / 250;
    d.exposureBias = -2.0 / 3;
    d.fNumber = 8;
    d.iso = 200;
    d.strCamera = "Lumivant LV-1 0042";
    d.size = SImageSize{4000, 3000};
    return d;
}

Bytes Jpeg(const Bytes& exifBlock)
{
    return MakeJpeg({Segment(0xE1, std::string_view("Exif\0\0", 6), exifBlock)}, 4000, 3000);
}

// The full Exif with the Exif directory's entries of these tags replaced (or removed when the
// replacement's type is 0).
SExifSpec Changed(std::vector<SFixtureTag> replaced, std::vector<SFixtureTag> ifd0 = {})
{
    SExifSpec s = FullExif(false);
    for (auto* dir : {&s.exif, &s.ifd0})
        for (const SFixtureTag& r : dir == &s.exif ? replaced : ifd0) {
            std::erase_if(*dir, [&r](const SFixtureTag& t) { return t.tag == r.tag; });
            if (r.type != 0)
                dir->push_back(r);
        }
    return s;
}

SFixtureTag Removed(uint16_t tag)
{
    return {tag, 0, 0, {}};
}

// The little-endian block of spec with the count of one entry set so that its value runs out of the
// block.
Bytes WithValueOutside(const SExifSpec& spec, bool inExif, uint16_t tag)
{
    const SExifLayout layout = ExifLayoutOf(spec);
    std::vector<uint16_t> tags;
    for (const SFixtureTag& t : inExif ? spec.exif : spec.ifd0)
        tags.push_back(t.tag);
    if (!inExif)
        tags.push_back(34665);
    const size_t index =
        static_cast<size_t>(std::count_if(tags.begin(), tags.end(), [tag](uint16_t t) { return t < tag; }));
    Bytes block = MakeExifBlock(spec);
    const size_t count = (inExif ? layout.exif : layout.ifd0) + 2 + 12 * index + 4;
    block[count + 2] = 0x10; // a million and more
    return block;
}

TEST(CaptureDataTest, ReadsTheFieldsOfJpegAndTiff)
{
    const SOrder le{false};
    SCaptureData wholeSeconds = FullData();
    wholeSeconds.captureTime = k20240501102030;
    wholeSeconds.bWholeSeconds = true;
    SCaptureData digitized = FullData();
    digitized.captureTime = k20240501102030 + 5.75;
    SCaptureData unknownTime = FullData();
    unknownTime.captureTime.reset();
    SCaptureData noExposure = FullData();
    noExposure.exposureSeconds.reset();
    noExposure.exposureBias.reset();
    noExposure.fNumber.reset();
    noExposure.iso.reset();
    auto with = [](SCaptureData d, auto change) {
        change(d);
        return d;
    };
    SExifSpec bigTiff = FullExif(true);
    bigTiff.ifd0.push_back(SOrder{true}.Long(256, 7));
    bigTiff.ifd0.push_back(SOrder{true}.Long(257, 5));
    const struct {
        const char* name;
        Bytes file;
        SCaptureData expected;
    } cases[] = {
        {"full data", Jpeg(MakeExifBlock(FullExif(false))), FullData()},
        {"sub-seconds \"5\"", Jpeg(MakeExifBlock(Changed({SOrder::Ascii(0x9291, "5")}))),
         with(FullData(), [](SCaptureData& d) { d.captureTime = k20240501102030 + 0.5; })},
        {"sub-seconds \"050\"", Jpeg(MakeExifBlock(Changed({SOrder::Ascii(0x9291, "050")}))),
         with(FullData(), [](SCaptureData& d) { d.captureTime = k20240501102030 + 0.05; })},
        {"sub-seconds padded with spaces", Jpeg(MakeExifBlock(Changed({SOrder::Ascii(0x9291, "25  ")}))),
         FullData()},
        {"no sub-seconds", Jpeg(MakeExifBlock(Changed({Removed(0x9291)}))), wholeSeconds},
        {"sub-seconds not digits", Jpeg(MakeExifBlock(Changed({SOrder::Ascii(0x9291, "2a")}))), wholeSeconds},
        // The Original sub-seconds do not go with the Digitized time.
        {"only the Digitized pair", Jpeg(MakeExifBlock(Changed({Removed(0x9003)}))), digitized},
        {"blank Original, the Digitized pair",
         Jpeg(MakeExifBlock(Changed({SOrder::Ascii(0x9003, "0000:00:00 00:00:00")}))), digitized},
        {"DateTime only", Jpeg(MakeExifBlock(Changed({Removed(0x9003), Removed(0x9004)}))), unknownTime},
        {"zero denominators and ISO",
         Jpeg(MakeExifBlock(Changed({Rational(le, 0x829A, 1, 0), Rational(le, 0x829D, 0, 0),
                                     Rational(le, 0x9204, 1, 0, true), le.Short(0x8827, 0)}))),
         noExposure},
        {"implausible values",
         Jpeg(MakeExifBlock(Changed(
             {Rational(le, 0x829A, 0, 1), Rational(le, 0x829D, 1, 10), Rational(le, 0x9204, 99, 1, true)}))),
         with(noExposure, [](SCaptureData& d) { d.iso = 200; })},
        {"values of the wrong type",
         Jpeg(MakeExifBlock(
             Changed({le.Long(0x829A, 5), SOrder::Ascii(0x829D, "8"), SOrder::Ascii(0x8827, "200")}))),
         with(noExposure, [](SCaptureData& d) { d.exposureBias = -2.0 / 3; })},
        {"no Make", Jpeg(MakeExifBlock(Changed({}, {Removed(0x010F)}))),
         with(FullData(), [](SCaptureData& d) { d.strCamera = "LV-1 0042"; })},
        {"no Make, no Model: the serial alone is no camera",
         Jpeg(MakeExifBlock(Changed({}, {Removed(0x010F), Removed(0x0110)}))),
         with(FullData(), [](SCaptureData& d) { d.strCamera.clear(); })},
        {"no serial", Jpeg(MakeExifBlock(Changed({Removed(0xA431)}))),
         with(FullData(), [](SCaptureData& d) { d.strCamera = "Lumivant LV-1"; })},
        {"big-endian TIFF", MakeExifBlock(bigTiff),
         with(FullData(),
              [](SCaptureData& d) {
                  d.size = SImageSize{7, 5};
              })},
        // A TIFF writer may keep the Exif tags in the main directory.
        {"TIFF with the tags in IFD0",
         MakeTiff(false, 4, 3,
                  {SOrder::Ascii(0x010F, "Lumivant"), SOrder::Ascii(0x9003, "2024:05:01 10:20:30")}),
         with(SCaptureData{},
              [](SCaptureData& d) {
                  d.captureTime = k20240501102030;
                  d.bWholeSeconds = true;
                  d.strCamera = "Lumivant";
                  d.size = SImageSize{4, 3};
              })},
        {"JPEG without Exif", MakeJpeg({}, 640, 480),
         with(SCaptureData{},
              [](SCaptureData& d) {
                  d.size = SImageSize{640, 480};
              })},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadCaptureData(c.file), c.expected) << c.name;
}

// The day count against times worked out independently, and every kind of invalid date.
TEST(CaptureDataTest, DateTimeTexts)
{
    const struct {
        const char* text;
        std::optional<double> seconds;
    } cases[] = {
        {"2024:05:01 10:20:30", k20240501102030},
        {"1969:12:31 23:59:59", -1},
        {"2000:02:29 12:00:00", 951825600},
        {"2024:02:29 00:00:00", 1709164800},
        {"1900:03:01 00:00:00", -2203891200},
        {"9999:12:31 23:59:59", 253402300799},
        {"2024:05:01 10:20:30+02:00", k20240501102030},
        {"0000:00:00 00:00:00", std::nullopt},
        {"                   ", std::nullopt},
        {"", std::nullopt},
        {"2024:05:01 10:20:3", std::nullopt},
        {"2024-05-01 10:20:30", std::nullopt},
        {"2024:13:01 10:20:30", std::nullopt},
        {"2024:04:31 10:20:30", std::nullopt},
        {"2023:02:29 10:20:30", std::nullopt},
        {"1900:02:29 10:20:30", std::nullopt},
        {"2024:05:01 24:00:00", std::nullopt},
        {"2024:05:01 10:20:60", std::nullopt},
        {"2024:05:01 1 :20:30", std::nullopt},
    };
    for (const auto& c : cases) {
        const SCaptureData d = ReadCaptureData(
            Jpeg(MakeExifBlock(Changed({SOrder::Ascii(0x9003, c.text), Removed(0x9004), Removed(0x9291)}))));
        EXPECT_EQ(d.captureTime, c.seconds) << '"' << c.text << '"';
        EXPECT_EQ(d.bWholeSeconds, c.seconds.has_value()) << '"' << c.text << '"';
    }
}

// Damage in one directory leaves what the others say; no damage is a failure.
TEST(CaptureDataTest, DamagedAndForeignFiles)
{
    const SExifSpec spec = FullExif(false);
    const Bytes block = MakeExifBlock(spec);
    const SExifLayout layout = ExifLayoutOf(spec);
    Bytes badExifPointer = block;
    {
        // The Exif pointer is IFD0's last entry (34665 sorts after the text tags).
        const size_t entry = layout.ifd0 + 2 + 12 * spec.ifd0.size();
        badExifPointer[entry + 8] = 0xF0;
        badExifPointer[entry + 9] = 0xFF;
    }
    Bytes badHeader = block;
    badHeader[2] = 0;
    const Bytes full = Jpeg(block);
    auto with = [](SCaptureData d, auto change) {
        change(d);
        return d;
    };
    SCaptureData cameraOnly;
    cameraOnly.strCamera = "Lumivant LV-1";
    cameraOnly.size = SImageSize{4000, 3000};
    SCaptureData sizeOnly;
    sizeOnly.size = SImageSize{4000, 3000};
    const struct {
        const char* name;
        Bytes file;
        SCaptureData expected;
    } cases[] = {
        {"Exif directory outside the block", Jpeg(badExifPointer), cameraOnly},
        {"maker note outside the block",
         Jpeg(WithValueOutside(Changed({SOrder::Undefined(0x927C, FromString("MAKERNOTE"))}), true, 0x927C)),
         FullData()},
        {"Make outside the block", Jpeg(WithValueOutside(FullExif(false), false, 0x010F)),
         with(FullData(), [](SCaptureData& d) { d.strCamera = "LV-1 0042"; })},
        // IFD0's texts lie behind the Exif directory, so they are cut off with it.
        {"block cut in the Exif directory", Jpeg(Bytes(block.begin(), block.begin() + layout.exif + 20)),
         sizeOnly},
        {"block without TIFF header", Jpeg(badHeader), sizeOnly},
        {"Exif signature alone", Jpeg({}), sizeOnly},
        {"JPEG cut in its Exif segment", Bytes(full.begin(), full.begin() + 60), SCaptureData{}},
        {"TIFF cut in its directory",
         [] {
             Bytes t = MakeTiff(false, 4, 4, {SOrder::Ascii(0x010F, "Lumivant")});
             t.resize(t.size() - 10);
             return t;
         }(),
         SCaptureData{}},
        {"PNG", FromString("\x89PNG\r\n\x1a\n...."), SCaptureData{}},
        {"TIFF header only", FromString(std::string_view("II*\0", 4)), SCaptureData{}},
        {"text", FromString("2024:05:01 10:20:30"), SCaptureData{}},
        {"empty", {}, SCaptureData{}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadCaptureData(c.file), c.expected) << c.name;
    // Every cut of the file reads without failing, and a cut after the frame header reads as all.
    const size_t frame = full.size() - 10 - 10 - 22; // the scan data, SOS and DHT follow it
    for (size_t n = 0; n <= full.size(); ++n) {
        const SCaptureData d = ReadCaptureData(std::span(full).first(n));
        if (n >= frame) {
            EXPECT_EQ(d, FullData()) << "cut at " << n;
        }
    }
}
} // namespace
} // namespace test
} // namespace lvp::metadata
