// ReadCaptureData over real photos (a wallpaper scaled down by ImageMagick, tagged by exiftool, as
// JPEG and TIFF of either byte order) against what exiftool reads of them. Linux only; skipped
// where the tools or the wallpaper are missing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "metadata/capture_data.h"

namespace lvp::metadata {
namespace {
namespace fs = std::filesystem;
const char* const kWallpaper = "/usr/share/wallpapers/EveningGlow/contents/images/2560x1600.jpg";
const std::string kTags =
    "-Make=Lumivant -Model=LV-1 -SerialNumber=0042 '-DateTimeOriginal=2024:05:01 10:20:30' "
    "-SubSecTimeOriginal=050 -ExposureTime=1/250 -FNumber=5.6 -ISO=400 "
    "-ExposureCompensation=-2/3 '-ModifyDate=2030:01:01 00:00:00'";

bool Shell(const std::string& command)
{
    return std::system(("(" + command + ") >/dev/null 2>&1").c_str()) == 0;
}

std::vector<uint8_t> ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// exiftool's values: the two times as seconds since 1970 (read as UTC), exposure, aperture, bias,
// ISO; each empty where exiftool finds no tag.
std::vector<std::optional<double>> ExiftoolValues(const fs::path& file)
{
    const fs::path out = file.string() + ".txt";
    const std::string format = "'${DateTimeOriginal} ${CreateDate} ${ExposureTime#} ${FNumber#} "
                               "${ExposureCompensation#} ${ISO#}'";
    if (!Shell("TZ=UTC /usr/bin/exiftool -f -d %s -p " + format + " '" + file.string() + "' > '" +
               out.string() + "'"))
        return {};
    std::ifstream in(out);
    std::vector<std::optional<double>> values;
    for (std::string word; in >> word;)
        values.push_back(word == "-" ? std::nullopt : std::optional(std::stod(word)));
    return values;
}

void ExpectNear(const std::optional<double>& got, const std::optional<double>& wanted, const char* what)
{
    ASSERT_EQ(got.has_value(), wanted.has_value()) << what;
    if (got) {
        EXPECT_NEAR(*got, *wanted, 1e-9 * std::max(1.0, std::abs(*wanted))) << what;
    }
}

TEST(CaptureDataOracleTest, PhotosTaggedByExiftool)
{
    if (!fs::exists("/usr/bin/exiftool") || !fs::exists(kWallpaper) || !Shell("command -v convert"))
        GTEST_SKIP() << "needs exiftool, ImageMagick and " << kWallpaper;
    const fs::path dir = fs::path(testing::TempDir()) / "capture_oracle";
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string base = (dir / "base.jpg").string();
    ASSERT_TRUE(Shell("convert '" + std::string(kWallpaper) + "' -resize 240x150! -strip '" + base + "'"));
    const struct {
        const char* name;
        const char* convert; // how the untagged photo is made from base.jpg
        std::string tags;
        double fraction; // the sub-seconds the tags give
        const char* camera;
        std::optional<double> iso; // as a check that exiftool wrote the exposure tags
    } cases[] = {
        {"le.jpg", "", kTags + " -ExifByteOrder=II", 0.05, "Lumivant LV-1 0042", 400},
        {"be.jpg", "", kTags + " -ExifByteOrder=MM", 0.05, "Lumivant LV-1 0042", 400},
        {"le.tif", "-compress none", kTags, 0.05, "Lumivant LV-1 0042", 400},
        {"be.tif", "-define tiff:endian=msb -compress none", kTags, 0.05, "Lumivant LV-1 0042", 400},
        {"digitized.jpg", "", "'-CreateDate=2024:05:01 10:20:35' -SubSecTimeDigitized=5 -Model=LV-1", 0.5,
         "LV-1", std::nullopt},
    };
    for (const auto& c : cases) {
        const fs::path file = dir / c.name;
        ASSERT_TRUE(Shell("convert '" + base + "' " + c.convert + " '" + file.string() + "'")) << c.name;
        ASSERT_TRUE(Shell("/usr/bin/exiftool -q -overwrite_original " + c.tags + " '" + file.string() + "'"))
            << c.name;
        const std::vector<std::optional<double>> v = ExiftoolValues(file);
        ASSERT_EQ(v.size(), 6u) << c.name;
        const SCaptureData d = ReadCaptureData(ReadAll(file));
        SCOPED_TRACE(c.name);
        const std::optional<double> seconds = v[0] ? v[0] : v[1];
        ExpectNear(d.captureTime, seconds ? std::optional(*seconds + c.fraction) : std::nullopt, "time");
        EXPECT_FALSE(d.bWholeSeconds);
        ExpectNear(d.exposureSeconds, v[2], "exposure");
        ExpectNear(d.fNumber, v[3], "f-number");
        ExpectNear(d.exposureBias, v[4], "bias");
        ExpectNear(d.iso, v[5], "ISO");
        EXPECT_EQ(d.strCamera, c.camera);
        EXPECT_EQ(d.iso, c.iso);
        EXPECT_EQ(d.size, (SImageSize{240, 150}));
    }
    fs::remove_all(dir);
}
} // namespace
} // namespace lvp::metadata
