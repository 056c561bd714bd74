// The metadata layer over hand-built files: image sizes, the carrying into JPEG and TIFF outputs
// (pixels untouched, sizes patched, thumbnail dropped, maker note kept or dropped whole), and the
// outcome of every damaged or unsupported input.
#include <gtest/gtest.h>

#include "metadata/jpeg_segments.h"
#include "metadata/metadata.h"
#include "metadata/tiff_ifd.h"
#include "tests/metadata/fixtures.h"

namespace lvp::metadata::test {
namespace {
const Bytes kMakerNote = FromString("MAKERNOTE with inner offsets 0123456789abcdef");
const Bytes kXmp = FromString("<x:xmpmeta xmlns:x='adobe:ns:meta/'><rdf:RDF/></x:xmpmeta>");
const Bytes kIptc = {0x1C, 0x02, 0x19, 0x00, 0x05, 'A', 'l', 'p', 'e', 'n'};
const std::string kGuid = "0123456789ABCDEF0123456789ABCDEF";
// A main packet that names an extension.
const Bytes kNamingXmp = FromString(
    "<x:xmpmeta xmlns:x='adobe:ns:meta/'><rdf:RDF xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'>"
    "<rdf:Description rdf:about='' xmlns:xmpNote='http://ns.adobe.com/xmp/note/' "
    "xmpNote:HasExtendedXMP='" +
    kGuid +
    "' xmlns:xmp='http://ns.adobe.com/xap/1.0/' xmp:Rating='4'/>"
    "</rdf:RDF></x:xmpmeta>");

// One extension part holding bytes [offset, offset + n) of the serialization.
Bytes ExtensionPart(std::string_view guid, const Bytes& whole, size_t offset = 0, size_t n = SIZE_MAX)
{
    Bytes p(guid.begin(), guid.end());
    for (uint32_t v : {static_cast<uint32_t>(whole.size()), static_cast<uint32_t>(offset)})
        for (int shift = 24; shift >= 0; shift -= 8)
            p.push_back(static_cast<uint8_t>(v >> shift));
    n = std::min(n, whole.size() - offset);
    p.insert(p.end(), whole.begin() + static_cast<std::ptrdiff_t>(offset),
             whole.begin() + static_cast<std::ptrdiff_t>(offset + n));
    return p;
}

SExifSpec CameraExif(bool big, bool thumbnail)
{
    const SOrder o{big};
    SExifSpec s;
    s.big = big;
    s.ifd0 = {SOrder::Ascii(271, "Lumivant"), SOrder::Ascii(272, "Model X"), o.Short(274, 6),
              SOrder::Ascii(306, "2024:05:01 10:20:30")};
    s.exif = {SOrder::Ascii(36867, "2024:05:01 10:20:30"), SOrder::Undefined(37500, kMakerNote),
              o.Short(40962, 4000), o.Short(40963, 3000)};
    s.gps = {{1, 2, 2, {'N', 0}}, {2, 5, 3, Bytes(24, 1)}};
    if (thumbnail)
        s.thumbnail = MakeJpeg({}, 8, 8);
    return s;
}

Bytes PhotoJpeg(const Bytes& block, std::vector<SSegment> more = {})
{
    more.insert(more.begin(), Segment(0xE1, std::string_view("Exif\0\0", 6), block));
    return MakeJpeg(more, 4000, 3000);
}

Bytes FusedJpeg(std::vector<SSegment> more = {})
{
    more.insert(more.begin(), Segment(0xE0, std::string_view("JFIF\0", 5), Bytes{1, 1, 0, 0, 1, 0, 1, 0, 0}));
    return MakeJpeg(more, 640, 480);
}

// The payloads (after the signature) of the file's APPn segments with this signature.
std::vector<Bytes> Payloads(const Bytes& file, uint8_t marker, std::string_view signature)
{
    std::vector<Bytes> out;
    const std::optional<SJpegLayout> layout = ParseJpeg(file);
    for (const SJpegSegment& s : layout ? layout->segments : std::vector<SJpegSegment>{})
        if (s.marker == marker && HasSignature(file, s, signature)) {
            const auto p = AfterSignature(file, s, signature);
            out.emplace_back(p.begin(), p.end());
        }
    return out;
}

// A number of the directory at `at` of a TIFF structure (0 when absent).
uint32_t NumberAt(const CTiffView& view, uint32_t at, uint16_t tag)
{
    const std::optional<STiffIfd> ifd = view.ReadIfd(at);
    const STiffEntry* e = ifd ? FindEntry(*ifd, tag) : nullptr;
    return e ? view.Number(*e).value_or(0) : 0;
}

void Put32(Bytes& b, size_t at, uint32_t v, bool big)
{
    const Bytes x = SOrder{big}.U32(v);
    std::copy(x.begin(), x.end(), b.begin() + static_cast<std::ptrdiff_t>(at));
}

// A small TIFF whose one-value entry `tag` is given the value v.
Bytes TiffWith(uint16_t tag, uint32_t v)
{
    Bytes t = MakeTiff(false, 2, 2);
    const std::optional<CTiffView> view = CTiffView::Open(t);
    Put32(t, FindEntry(*view->ReadIfd(view->FirstIfd()), tag)->entry + 8, v, false);
    return t;
}

TEST(ImageSizeTest, ReadsJpegFramesAndTiffDirectories)
{
    Bytes dnl = MakeJpeg({}, 100, 0);
    const struct {
        const char* name;
        Bytes file;
        std::optional<SImageSize> size;
    } cases[] = {
        {"baseline JPEG", MakeJpeg({}, 4384, 2740), SImageSize{4384, 2740}},
        {"JPEG with metadata first", PhotoJpeg(MakeExifBlock(CameraExif(true, true))),
         SImageSize{4000, 3000}},
        {"height left to the scan", dnl, std::nullopt},
        {"little-endian TIFF", MakeTiff(false, 7, 5), SImageSize{7, 5}},
        {"big-endian TIFF", MakeTiff(true, 5, 7), SImageSize{5, 7}},
        {"JPEG cut before the frame", Bytes(dnl.begin(), dnl.begin() + 30), std::nullopt},
        // SOI, DQT (69 bytes), SOF0 (13 bytes).
        {"the start of a JPEG, up to its frame",
         [] {
             Bytes j = MakeJpeg({}, 300, 200);
             j.resize(2 + 69 + 13);
             return j;
         }(),
         SImageSize{300, 200}},
        {"the start of a JPEG, cut in its frame",
         [] {
             Bytes j = MakeJpeg({}, 300, 200);
             j.resize(2 + 69 + 12);
             return j;
         }(),
         std::nullopt},
        {"TIFF cut in its directory",
         [] {
             Bytes t = MakeTiff(false, 4, 4);
             t.resize(t.size() - 10);
             return t;
         }(),
         std::nullopt},
        {"PNG", FromString("\x89PNG\r\n\x1a\n...."), std::nullopt},
        {"empty", {}, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadImageSize(c.file), c.size) << c.name;
}

class CarryJpegTest : public ::testing::TestWithParam<std::tuple<bool, bool>> {};

TEST_P(CarryJpegTest, CopiesTheExifBlockPatchingSizesAndDroppingTheThumbnail)
{
    const auto [big, thumbnail] = GetParam();
    const SExifSpec spec = CameraExif(big, thumbnail);
    const Bytes block = MakeExifBlock(spec);
    const Bytes fused = FusedJpeg();
    const SCarryResult r = CarryOver(PhotoJpeg(block), fused);
    ASSERT_EQ(r.outcome, ECarryOutcome::Done);
    EXPECT_EQ(PixelBytes(r.rewritten), PixelBytes(fused));
    EXPECT_EQ(ReadImageSize(r.rewritten), (SImageSize{640, 480}));
    EXPECT_EQ(Payloads(r.rewritten, 0xE0, std::string_view("JFIF\0", 5)).size(), 1u);
    const std::vector<Bytes> exif = Payloads(r.rewritten, 0xE1, std::string_view("Exif\0\0", 6));
    ASSERT_EQ(exif.size(), 1u);
    const Bytes& out = exif[0];
    const SExifLayout l = ExifLayoutOf(spec);
    EXPECT_EQ(out.size(), thumbnail ? l.thumbnail : block.size()) << "the thumbnail's bytes are cut";
    const std::optional<CTiffView> view = CTiffView::Open(out);
    ASSERT_TRUE(view);
    EXPECT_EQ(view->ReadIfd(8)->next, 0u);
    EXPECT_EQ(NumberAt(*view, static_cast<uint32_t>(l.exif), 40962), 640u);
    EXPECT_EQ(NumberAt(*view, static_cast<uint32_t>(l.exif), 40963), 480u);
    EXPECT_EQ(NumberAt(*view, 8, 274), 6u);
    // Everything before the patched dimensions, maker note included, stays where it was.
    EXPECT_TRUE(std::equal(block.begin() + static_cast<std::ptrdiff_t>(l.values),
                           block.begin() + static_cast<std::ptrdiff_t>(l.thumbnail),
                           out.begin() + static_cast<std::ptrdiff_t>(l.values)));
    EXPECT_EQ(CarryOver(PhotoJpeg(block), r.rewritten).outcome, ECarryOutcome::OutputHasExif);
}

INSTANTIATE_TEST_SUITE_P(ByteOrderAndThumbnail, CarryJpegTest,
                         ::testing::Combine(::testing::Bool(), ::testing::Bool()));

// A photo whose Exif directory lacks PixelXDimension/PixelYDimension: the result gets them, of its
// own size; in a JPEG result the maker note is still carried, byte for byte.
TEST(CarryJpegTest, AddsThePixelDimensionsThePhotoLacks)
{
    for (bool big : {false, true}) {
        SExifSpec spec = CameraExif(big, true);
        std::erase_if(spec.exif, [](const SFixtureTag& t) { return t.tag == 40962 || t.tag == 40963; });
        const Bytes photo = PhotoJpeg(MakeExifBlock(spec));
        const struct {
            const char* name;
            Bytes output;
            SImageSize size;
            bool bMakerNote;
        } cases[] = {{"JPEG", FusedJpeg(), {640, 480}, true}, {"TIFF", MakeTiff(!big, 7, 5), {7, 5}, false}};
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (big ? " big-endian" : " little-endian"));
            const SCarryResult r = CarryOver(photo, c.output);
            ASSERT_EQ(r.outcome, ECarryOutcome::Done);
            EXPECT_EQ(PixelBytes(r.rewritten), PixelBytes(c.output));
            const std::vector<Bytes> exif = Payloads(r.rewritten, 0xE1, std::string_view("Exif\0\0", 6));
            const Bytes& tiff = exif.empty() ? r.rewritten : exif[0];
            const std::optional<CTiffView> view = CTiffView::Open(tiff);
            ASSERT_TRUE(view);
            const uint32_t at = NumberAt(*view, view->FirstIfd(), 34665);
            EXPECT_EQ(NumberAt(*view, at, 40962), c.size.width);
            EXPECT_EQ(NumberAt(*view, at, 40963), c.size.height);
            EXPECT_EQ(NumberAt(*view, view->FirstIfd(), 274), 6u) << "IFD0 as the photo has it";
            const std::optional<STiffIfd> dir = view->ReadIfd(at);
            ASSERT_TRUE(dir);
            const STiffEntry* note = FindEntry(*dir, 37500);
            EXPECT_EQ(note != nullptr, c.bMakerNote);
            if (note) {
                const auto v = view->Value(*note);
                EXPECT_EQ(Bytes(v.begin(), v.end()), kMakerNote);
            }
            EXPECT_TRUE(FindEntry(*dir, 36867)) << "the Exif directory's other tags stay";
        }
    }
}

TEST(CarryJpegTest, CarriesXmpIptcAndProfileTheOutputLacks)
{
    Bytes icc(70000);
    for (size_t i = 0; i < icc.size(); ++i)
        icc[i] = static_cast<uint8_t>(i * 13);
    const size_t half = 65519;
    const Bytes one = [&] {
        Bytes b{1, 2};
        b.insert(b.end(), icc.begin(), icc.begin() + half);
        return b;
    }();
    const Bytes two = [&] {
        Bytes b{2, 2};
        b.insert(b.end(), icc.begin() + half, icc.end());
        return b;
    }();
    Bytes irb = FromString(std::string_view("8BIM\x04\x04\0\0\0\0\0\x0a", 12));
    irb.insert(irb.end(), kIptc.begin(), kIptc.end());
    const Bytes ext = ExtensionPart(kGuid, FromString("<x:xmpmeta/>"));
    // The chunks in reverse order: the profile is joined by their numbers.
    const Bytes photo =
        PhotoJpeg(MakeExifBlock(CameraExif(false, false)),
                  {Segment(0xE1, std::string_view("http://ns.adobe.com/xap/1.0/\0", 29), kNamingXmp),
                   Segment(0xE1, std::string_view("http://ns.adobe.com/xmp/extension/\0", 35), ext),
                   Segment(0xED, std::string_view("Photoshop 3.0\0", 14), irb),
                   Segment(0xE2, std::string_view("ICC_PROFILE\0", 12), two),
                   Segment(0xE2, std::string_view("ICC_PROFILE\0", 12), one)});
    const SCarryResult r = CarryOver(photo, FusedJpeg());
    ASSERT_EQ(r.outcome, ECarryOutcome::Done);
    EXPECT_EQ(Payloads(r.rewritten, 0xE1, std::string_view("http://ns.adobe.com/xap/1.0/\0", 29)),
              std::vector<Bytes>{kNamingXmp});
    EXPECT_EQ(Payloads(r.rewritten, 0xE1, std::string_view("http://ns.adobe.com/xmp/extension/\0", 35)),
              std::vector<Bytes>{ext});
    EXPECT_EQ(Payloads(r.rewritten, 0xED, std::string_view("Photoshop 3.0\0", 14)), std::vector<Bytes>{irb});
    EXPECT_EQ(Payloads(r.rewritten, 0xE2, std::string_view("ICC_PROFILE\0", 12)),
              (std::vector<Bytes>{one, two}));
    // An output with a profile of its own keeps it alone.
    const Bytes own = {1, 1, 'o', 'w', 'n'};
    const SCarryResult kept =
        CarryOver(photo, FusedJpeg({Segment(0xE2, std::string_view("ICC_PROFILE\0", 12), own)}));
    ASSERT_EQ(kept.outcome, ECarryOutcome::Done);
    EXPECT_EQ(Payloads(kept.rewritten, 0xE2, std::string_view("ICC_PROFILE\0", 12)), std::vector<Bytes>{own});
}

class CarryTiffTest : public ::testing::TestWithParam<std::tuple<bool, bool>> {};

TEST_P(CarryTiffTest, AddsTheTagsToANewFirstDirectoryLeavingTheStrips)
{
    const auto [photoBig, outputBig] = GetParam();
    Bytes irb = FromString(std::string_view("8BIM\x04\x04\0\0\0\0\0\x0a", 12));
    irb.insert(irb.end(), kIptc.begin(), kIptc.end());
    const Bytes photo =
        PhotoJpeg(MakeExifBlock(CameraExif(photoBig, true)),
                  {Segment(0xE1, std::string_view("http://ns.adobe.com/xap/1.0/\0", 29), kXmp),
                   Segment(0xED, std::string_view("Photoshop 3.0\0", 14), irb)});
    const Bytes fused =
        MakeTiff(outputBig, 6, 4, {SOrder{outputBig}.Ascii(305, "enfuse"), SOrder{outputBig}.Short(274, 1)});
    const SCarryResult r = CarryOver(photo, fused);
    ASSERT_EQ(r.outcome, ECarryOutcome::Done);
    EXPECT_EQ(PixelBytes(r.rewritten), PixelBytes(fused));
    ASSERT_GT(r.rewritten.size(), fused.size());
    EXPECT_TRUE(std::equal(fused.begin() + 8, fused.end(), r.rewritten.begin() + 8))
        << "nothing of the output moves";
    const std::optional<CTiffView> view = CTiffView::Open(r.rewritten);
    ASSERT_TRUE(view);
    const std::optional<STiffIfd> ifd0 = view->ReadIfd(view->FirstIfd());
    ASSERT_TRUE(ifd0);
    EXPECT_EQ(NumberAt(*view, view->FirstIfd(), 274), 6u)
        << "the photo's orientation, in the output's byte order";
    EXPECT_EQ(NumberAt(*view, view->FirstIfd(), 256), 6u);
    const STiffEntry* software = FindEntry(*ifd0, 305);
    ASSERT_TRUE(software);
    EXPECT_EQ(std::string(view->Value(*software).begin(), view->Value(*software).end() - 1), "enfuse")
        << "the output's own tags the photo lacks stay";
    const uint32_t exif = NumberAt(*view, view->FirstIfd(), 34665);
    EXPECT_EQ(NumberAt(*view, exif, 40962), 6u);
    EXPECT_EQ(NumberAt(*view, exif, 40963), 4u);
    EXPECT_FALSE(FindEntry(*view->ReadIfd(exif), 37500)) << "a maker note whose offsets move is dropped";
    const STiffEntry* xmp = FindEntry(*ifd0, 700);
    const STiffEntry* iptc = FindEntry(*ifd0, 33723);
    ASSERT_TRUE(xmp && iptc);
    EXPECT_EQ(Bytes(view->Value(*xmp).begin(), view->Value(*xmp).end()), kXmp);
    EXPECT_EQ(Bytes(view->Value(*iptc).begin(), view->Value(*iptc).end()), kIptc);
    EXPECT_EQ(CarryOver(photo, r.rewritten).outcome, ECarryOutcome::OutputHasExif);
}

INSTANTIATE_TEST_SUITE_P(ByteOrders, CarryTiffTest, ::testing::Combine(::testing::Bool(), ::testing::Bool()));

TEST(CarryTiffTest, TiffPhotoIntoJpegBuildsAnExifBlock)
{
    const SOrder o{true};
    const Bytes photo = MakeTiff(true, 4, 4,
                                 {SOrder::Ascii(271, "Lumivant"),
                                  o.Short(274, 8),
                                  {700, 1, static_cast<uint32_t>(kXmp.size()), kXmp},
                                  SOrder::Undefined(33723, kIptc)});
    const SCarryResult r = CarryOver(photo, FusedJpeg());
    ASSERT_EQ(r.outcome, ECarryOutcome::Done);
    const std::vector<Bytes> exif = Payloads(r.rewritten, 0xE1, std::string_view("Exif\0\0", 6));
    ASSERT_EQ(exif.size(), 1u);
    const std::optional<CTiffView> view = CTiffView::Open(exif[0]);
    ASSERT_TRUE(view);
    EXPECT_EQ(NumberAt(*view, view->FirstIfd(), 274), 8u);
    EXPECT_EQ(NumberAt(*view, view->FirstIfd(), 273), 0u) << "the photo's strips are not Exif";
    EXPECT_EQ(Payloads(r.rewritten, 0xE1, std::string_view("http://ns.adobe.com/xap/1.0/\0", 29)),
              std::vector<Bytes>{kXmp});
    const std::vector<Bytes> irb = Payloads(r.rewritten, 0xED, std::string_view("Photoshop 3.0\0", 14));
    ASSERT_EQ(irb.size(), 1u);
    EXPECT_TRUE(std::equal(kIptc.begin(), kIptc.end(), irb[0].begin() + 12));
}

// XMP beyond one segment: a JPEG photo's extension joins the packet of a TIFF output, and a TIFF
// photo's large packet is split into a main packet and its extension in a JPEG output.
TEST(CarryXmpTest, ExtendedXmpBetweenJpegAndTiff)
{
    const std::string big(100000, 'h');
    const Bytes ext =
        FromString("<x:xmpmeta xmlns:x='adobe:ns:meta/'><rdf:RDF xmlns:rdf='http://www.w3.org/1999/02/"
                   "22-rdf-syntax-ns#' xmlns:photoshop='http://ns.adobe.com/photoshop/1.0/'>"
                   "<rdf:Description rdf:about=''><photoshop:History>" +
                   big + "</photoshop:History></rdf:Description></rdf:RDF></x:xmpmeta>");
    const std::string_view extSig("http://ns.adobe.com/xmp/extension/\0", 35);
    const std::string_view xmpSig("http://ns.adobe.com/xap/1.0/\0", 29);
    const Bytes photo =
        MakeJpeg({Segment(0xE1, xmpSig, kNamingXmp), Segment(0xE1, extSig, ExtensionPart(kGuid, ext, 60000)),
                  Segment(0xE1, extSig, ExtensionPart(kGuid, ext, 0, 60000))});
    const SCarryResult tiff = CarryOver(photo, MakeTiff(false, 6, 4));
    ASSERT_EQ(tiff.outcome, ECarryOutcome::Done);
    const std::optional<CTiffView> view = CTiffView::Open(tiff.rewritten);
    ASSERT_TRUE(view);
    const std::optional<STiffIfd> ifd0 = view->ReadIfd(view->FirstIfd());
    ASSERT_TRUE(ifd0);
    const STiffEntry* xmp = FindEntry(*ifd0, 700);
    ASSERT_TRUE(xmp);
    const std::string packet(view->Value(*xmp).begin(), view->Value(*xmp).end());
    EXPECT_NE(packet.find("xmp:Rating='4'"), std::string::npos);
    EXPECT_NE(
        packet.find(
            "<rdf:Description xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#' "
            "xmlns:photoshop='http://ns.adobe.com/photoshop/1.0/' xmlns:x='adobe:ns:meta/' rdf:about=''>"
            "<photoshop:History>" +
            big),
        std::string::npos)
        << "the extension's description with the namespaces it was declared under";
    EXPECT_EQ(packet.find("HasExtendedXMP"), std::string::npos) << "no note names an extension that is gone";

    // That TIFF as the photo of a JPEG output: split again.
    const SCarryResult jpeg = CarryOver(tiff.rewritten, FusedJpeg());
    ASSERT_EQ(jpeg.outcome, ECarryOutcome::Done);
    const std::vector<Bytes> main = Payloads(jpeg.rewritten, 0xE1, xmpSig);
    const std::vector<Bytes> parts = Payloads(jpeg.rewritten, 0xE1, extSig);
    ASSERT_EQ(main.size(), 1u);
    ASSERT_EQ(parts.size(), 2u);
    const std::string mainText(main[0].begin(), main[0].end());
    EXPECT_NE(mainText.find("xmp:Rating='4'"), std::string::npos);
    EXPECT_EQ(mainText.find(big), std::string::npos);
    const size_t guidAt = mainText.find("HasExtendedXMP=\"");
    ASSERT_NE(guidAt, std::string::npos);
    const std::string guid = mainText.substr(guidAt + 16, 32);
    std::string joined;
    for (const Bytes& part : parts) {
        EXPECT_EQ(std::string(part.begin(), part.begin() + 32), guid);
        joined.append(part.begin() + 40, part.end());
    }
    EXPECT_NE(joined.find("<photoshop:History>" + big + "</photoshop:History>"), std::string::npos);
    EXPECT_EQ(PixelBytes(jpeg.rewritten), PixelBytes(FusedJpeg()));
}

// Damaged photos and outputs: each gives its outcome and no file.
TEST(CarryOutcomeTest, DamagedAndUnsupportedInputs)
{
    const SExifSpec spec = CameraExif(false, true);
    const SExifLayout l = ExifLayoutOf(spec);
    const Bytes block = MakeExifBlock(spec);
    auto damaged = [&](auto change) {
        Bytes b = block;
        change(b);
        return PhotoJpeg(b);
    };
    const size_t ifd0Entry = l.ifd0 + 2; // Make, Model, Orientation, DateTime, Exif, GPS
    const Bytes photo = PhotoJpeg(block);
    const Bytes fused = FusedJpeg();
    Bytes bigTiff = MakeTiff(false, 2, 2);
    bigTiff[2] = 43;
    Bytes hugeXmp(70000, 'x');
    using E = ECarryOutcome;
    const struct {
        const char* name;
        Bytes photo, output;
        E outcome;
    } cases[] = {
        {"PNG output", photo, FromString("\x89PNG\r\n\x1a\n....."), E::UnsupportedOutput},
        {"BigTIFF output", photo, bigTiff, E::UnsupportedOutput},
        {"empty output", photo, {}, E::UnsupportedOutput},
        {"output cut before its scan", photo, Bytes(fused.begin(), fused.begin() + 40), E::OutputUnreadable},
        {"output TIFF directory outside", photo,
         [] {
             Bytes t = MakeTiff(true, 2, 2);
             Put32(t, 4, 0x7FFFFFF0, true);
             return t;
         }(),
         E::OutputUnreadable},
        {"TIFF output whose strip covers its header", photo, TiffWith(273, 2), E::OutputUnreadable},
        {"TIFF output cut in its strip", photo, TiffWith(279, 4000), E::OutputUnreadable},
        {"output with Exif", photo, FusedJpeg({Segment(0xE1, std::string_view("Exif\0\0", 6), block)}),
         E::OutputHasExif},
        {"TIFF output with Exif", photo, MakeTiff(false, 2, 2, {SOrder{false}.Long(34665, 8)}),
         E::OutputHasExif},
        {"photo without metadata", MakeJpeg({}), fused, E::NothingToCarry},
        {"photo not an image", FromString("hello"), fused, E::NothingToCarry},
        {"BigTIFF photo", bigTiff, fused, E::NothingToCarry},
        {"PNG photo, PNG output", FromString("\x89PNG\r\n\x1a\n....."), FromString("\x89PNG\r\n\x1a\n....."),
         E::NothingToCarry},
        {"photo without metadata, damaged output", MakeJpeg({}), Bytes(fused.begin(), fused.begin() + 40),
         E::NothingToCarry},
        {"damaged photo, output with Exif", Bytes(photo.begin(), photo.begin() + 60),
         FusedJpeg({Segment(0xE1, std::string_view("Exif\0\0", 6), block)}), E::OutputHasExif},
        {"damaged photo, PNG output", Bytes(photo.begin(), photo.begin() + 60),
         FromString("\x89PNG\r\n\x1a\n....."), E::UnsupportedOutput},
        {"Exif cut in a directory", damaged([&](Bytes& b) { b.resize(l.exif + 10); }), fused,
         E::SourceDamaged},
        {"IFD0 outside the block", damaged([&](Bytes& b) { Put32(b, 4, 0xFFFFFF00, false); }), fused,
         E::SourceDamaged},
        {"value offset outside", damaged([&](Bytes& b) { Put32(b, ifd0Entry + 8, 0xFFFFFFF0, false); }),
         fused, E::SourceDamaged},
        {"absurd count", damaged([&](Bytes& b) { Put32(b, ifd0Entry + 4, 0x40000000, false); }), fused,
         E::SourceDamaged},
        {"absurd entry count", damaged([&](Bytes& b) {
             b[l.ifd0] = 0xFF;
             b[l.ifd0 + 1] = 0xFF;
         }),
         fused, E::SourceDamaged},
        {"Exif pointer loops to IFD0", damaged([&](Bytes& b) { Put32(b, ifd0Entry + 12 * 4 + 8, 8, false); }),
         fused, E::SourceDamaged},
        {"GPS shares the Exif directory",
         damaged([&](Bytes& b) { Put32(b, ifd0Entry + 12 * 5 + 8, static_cast<uint32_t>(l.exif), false); }),
         fused, E::SourceDamaged},
        {"segment longer than the file", Bytes(photo.begin(), photo.begin() + 60), fused, E::SourceDamaged},
        {"profile chunk 2 of 1",
         MakeJpeg({Segment(0xE2, std::string_view("ICC_PROFILE\0", 12), Bytes{2, 1, 9})}), fused,
         E::SourceDamaged},
        {"IPTC resource longer than its block",
         MakeJpeg({Segment(0xED, std::string_view("Photoshop 3.0\0", 14),
                           FromString(std::string_view("8BIM\x04\x04\0\0\xff\xff\xff\xf0", 12)))}),
         fused, E::SourceDamaged},
        {"XMP too large for one segment and no XML", MakeTiff(false, 2, 2, {{700, 1, 70000, hugeXmp}}), fused,
         E::CannotRewrite},
        {"extended XMP with a part missing",
         MakeJpeg({Segment(0xE1, std::string_view("http://ns.adobe.com/xap/1.0/\0", 29), kNamingXmp),
                   Segment(0xE1, std::string_view("http://ns.adobe.com/xmp/extension/\0", 35),
                           ExtensionPart(kGuid, Bytes(100, 'e'), 0, 60))}),
         fused, E::SourceDamaged},
        {"extended XMP not XML, into TIFF",
         MakeJpeg({Segment(0xE1, std::string_view("http://ns.adobe.com/xap/1.0/\0", 29), kNamingXmp),
                   Segment(0xE1, std::string_view("http://ns.adobe.com/xmp/extension/\0", 35),
                           ExtensionPart(kGuid, Bytes(100, 'e')))}),
         MakeTiff(false, 2, 2), E::CannotRewrite},
        {"IFD1 loops to IFD0", damaged([&](Bytes& b) { Put32(b, ifd0Entry + 12 * 6, 8, false); }), fused,
         E::Done},
    };
    for (const auto& c : cases) {
        const SCarryResult r = CarryOver(c.photo, c.output);
        EXPECT_EQ(r.outcome, c.outcome) << c.name;
        EXPECT_EQ(r.rewritten.empty(), c.outcome != E::Done) << c.name;
        if (r.outcome == E::Done) {
            EXPECT_EQ(PixelBytes(r.rewritten), PixelBytes(c.output)) << c.name;
        }
        // The photo alone already tells these apart, before any output is read.
        if (c.outcome == E::Done || c.outcome == E::SourceDamaged || c.outcome == E::NothingToCarry) {
            EXPECT_EQ(CheckSource(c.photo), c.outcome) << c.name;
        }
        EXPECT_EQ(IsReportedFailure(r.outcome),
                  c.outcome != E::Done && c.outcome != E::OutputHasExif && c.outcome != E::NothingToCarry)
            << c.name;
    }
}
} // namespace
} // namespace lvp::metadata::test
