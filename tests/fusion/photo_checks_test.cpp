// Photos enfuse cannot fuse: raw names, the sizes read from JPEG and TIFF headers of real files,
// and which photos of a selection differ in size.
#include "fusion/photo_checks.h"
#include "platform/path.h"
#include "platform/real_os.h"
#include "platform/utf.h"
#include "tests/metadata/fixtures.h"
#include "tests/support/file_util.h"

#include <gtest/gtest.h>

namespace {
using namespace lvp;
using metadata::SImageSize;
using metadata::test::Bytes;

std::string Text(const Bytes& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

// A little-endian TIFF whose directory (width and height only) lies after nGap bytes of pixels.
std::string TiffWithDirectoryAfter(size_t nGap, uint32_t width, uint32_t height)
{
    auto u16 = [](uint16_t v) { return std::string{char(v & 0xff), char(v >> 8)}; };
    auto u32 = [&](uint32_t v) { return u16(uint16_t(v & 0xffff)) + u16(uint16_t(v >> 16)); };
    std::string tiff = "II*" + std::string(1, '\0') + u32(uint32_t(8 + nGap)) + std::string(nGap, '\x7f');
    tiff +=
        u16(2) + u16(256) + u16(4) + u32(1) + u32(width) + u16(257) + u16(4) + u32(1) + u32(height) + u32(0);
    return tiff;
}

TEST(IsCameraRawName, ByExtensionWithoutCase)
{
    struct Case {
        std::u16string path;
        bool bRaw;
    } cases[] = {
        {u"C:\\Fotos\\IMG_0001.CR2", true},
        {u"/p/DSC_1.nef", true},
        {u"x.Arw", true},
        {u"x.3fr", true},
        {u"x.x3f", true},
        {u"x.jpg", false},
        {u"x.JPEG", false},
        {u"x.tif", false},
        {u"x.cr2.jpg", false},
        {u"cr2", false},
        {u"x.", false},
        {u"C:\\a.nef\\b", false},
        {u"/a.nef/b", false},
        {u"x.cr22", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsCameraRawName(c.path, u"\\/"), c.bRaw) << platform::Utf16ToUtf8(c.path);
}

// One folder of real files: the size each header gives, and which photos of a selection differ.
TEST(PhotoSizes, FromTheHeadersOfRealFilesAndWhichDiffer)
{
    using metadata::test::MakeJpeg;
    using metadata::test::MakeTiff;
    using metadata::test::Segment;
    TempDir dir;
    const Bytes big(60000, 0x55);
    struct File {
        const char* name;
        std::string bytes;
        std::optional<SImageSize> size;
    } files[] = {
        {"jpeg", Text(MakeJpeg({}, 4384, 2740)), SImageSize{4384, 2740}},
        {"jpeg, portrait", Text(MakeJpeg({}, 2740, 4384)), SImageSize{2740, 4384}},
        {"jpeg behind 300 KB of APP segments",
         Text(MakeJpeg({Segment(0xe1, "Exif", big), Segment(0xe2, "ICC_PROFILE", big),
                        Segment(0xe2, "ICC_PROFILE", big), Segment(0xe2, "ICC_PROFILE", big),
                        Segment(0xe2, "ICC_PROFILE", big)},
                       640, 480)),
         SImageSize{640, 480}},
        {"jpeg cut before its frame header", Text(MakeJpeg({Segment(0xe1, "Exif", big)})).substr(0, 30000),
         std::nullopt},
        {"tiff, big-endian", Text(MakeTiff(true, 300, 200)), SImageSize{300, 200}},
        {"tiff, little-endian", Text(MakeTiff(false, 32, 24)), SImageSize{32, 24}},
        {"tiff with its directory at the end", TiffWithDirectoryAfter(3u << 20, 1600, 1200),
         SImageSize{1600, 1200}},
        {"tiff whose directory lies beyond its end",
         TiffWithDirectoryAfter(3u << 20, 1600, 1200).substr(0, 2u << 20), std::nullopt},
        {"no image", "P6\n2 2\n255\n", std::nullopt},
        {"empty", "", std::nullopt},
    };
    for (const File& f : files) {
        WriteBytes(dir.path() / f.name, f.bytes);
        EXPECT_EQ(ReadPhotoSize(dir.u16(f.name), platform::RealOs()), f.size) << f.name;
    }
    EXPECT_EQ(ReadPhotoSize(dir.u16("missing.jpg"), platform::RealOs()), std::nullopt);
    EXPECT_EQ(ReadPhotoSize(dir.u16(), platform::RealOs()), std::nullopt); // a folder

    const char *land = "jpeg", *portrait = "jpeg, portrait", *small = "tiff, little-endian",
               *unknown = "no image";
    struct Selection {
        std::vector<const char*> photos;
        std::vector<std::pair<size_t, SImageSize>> want;
    } selections[] = {
        {{land, land, portrait}, {{0, {4384, 2740}}, {2, {2740, 4384}}}},
        {{unknown, land, small, portrait, land}, {{1, {4384, 2740}}, {2, {32, 24}}, {3, {2740, 4384}}}},
        {{land, land, land}, {}},
        {{land, unknown, "missing", land}, {}}, // what cannot be read is left to enfuse
        {{unknown, "missing"}, {}},
    };
    for (const Selection& s : selections) {
        std::vector<std::u16string> photos;
        for (const char* name : s.photos)
            photos.push_back(dir.u16(name));
        std::vector<std::pair<size_t, SImageSize>> got;
        for (const SPhotoSize& p : DifferingSizes(photos, platform::RealOs()))
            got.emplace_back(p.index, p.size);
        EXPECT_EQ(got, s.want) << s.photos.size() << " photos, first " << s.photos[0];
    }
}
// The capture data of a selection comes from each photo's head alone, and is what the whole file
// gives: a camera's JPEG, one with its Exif behind large segments, a TIFF; unknown where the head
// gives no size (the file missing, cut before its frame header, of another kind).
TEST(PhotoCaptureData, FromEachPhotosHead)
{
    using metadata::test::CameraJpeg;
    using metadata::test::MakeJpeg;
    using metadata::test::Segment;
    TempDir dir;
    const Bytes camera = CameraJpeg();
    const Bytes behind = MakeJpeg(
        {Segment(0xe2, "ICC_PROFILE", Bytes(60000, 1)), Segment(0xe2, "ICC_PROFILE", Bytes(60000, 2))});
    const Bytes tiff = metadata::test::MakeTiff(true, 30, 20);
    struct File {
        const char* name;
        Bytes bytes;
        bool bKnown; // the whole file's capture data, else all unknown
    } files[] = {
        {"camera.jpg", camera, true},
        {"behind.jpg", behind, true},
        {"photo.tif", tiff, true},
        {"cut.jpg", Bytes(camera.begin(), camera.begin() + static_cast<std::ptrdiff_t>(camera.size() / 3)),
         false},
        {"text.jpg", metadata::test::FromString("no image"), false},
    };
    std::vector<std::u16string> photos;
    for (const File& f : files) {
        WriteBytes(dir.path() / f.name, Text(f.bytes));
        photos.push_back(dir.u16(f.name));
    }
    photos.push_back(dir.u16("missing.jpg"));
    const std::vector<metadata::SCaptureData> got = ReadCaptureData(photos, platform::RealOs());
    ASSERT_EQ(got.size(), photos.size());
    for (size_t i = 0; i < std::size(files); ++i)
        EXPECT_EQ(got[i],
                  files[i].bKnown ? metadata::ReadCaptureData(files[i].bytes) : metadata::SCaptureData{})
            << files[i].name;
    EXPECT_TRUE(got[0].captureTime.has_value()) << "the camera's date";
    EXPECT_EQ(got.back(), metadata::SCaptureData{});
}
} // namespace
