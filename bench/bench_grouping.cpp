// The grouping of 1 000 photos' capture data into brackets (lvp_fusion, through lvp_ui): brackets
// of three with pauses, one continuous series split only by its exposures, and one continuous
// series of many slightly different exposures (the most work for the bracket's steps); and the
// whole of it from the files: 1 000 camera JPEGs (tagged by exiftool) read and grouped.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fusion/bracket_grouping.h"
#include "fusion/photo_checks.h"
#include "platform/real_os.h"
#include "platform/utf.h"

namespace {
using lvp::metadata::SCaptureData;

enum ESeries { Paused, Continuous, Dense };

std::vector<SCaptureData> Selection(ESeries series, int nPhotos)
{
    const double biases[] = {0, -2, 2};
    std::vector<SCaptureData> photos;
    double time = 1714558830.25;
    for (int i = 0; i < nPhotos; ++i) {
        SCaptureData photo;
        photo.captureTime = time;
        photo.exposureSeconds = 0.01;
        photo.exposureBias = series == Dense ? 0.5 * std::sin(i) + i * 1e-3 : biases[i % 3];
        photo.fNumber = 8;
        photo.iso = 100;
        photo.strCamera = "Lumivant LV-1 0815";
        photo.size = lvp::metadata::SImageSize{6000, 4000};
        photos.push_back(photo);
        time += series == Paused && i % 3 == 2 ? 10 : 0.3;
    }
    return photos;
}

void BM_GroupBrackets(benchmark::State& state)
{
    const std::vector<SCaptureData> photos = Selection(ESeries(state.range(0)), 1000);
    size_t nBrackets = 0;
    for (auto _ : state) {
        const std::vector<lvp::SBracket> brackets = lvp::GroupBrackets(photos);
        nBrackets = brackets.size();
        benchmark::DoNotOptimize(brackets.data());
    }
    state.counters["brackets"] = double(nBrackets);
    state.SetItemsProcessed(state.iterations() * int64_t(photos.size()));
}
// 1 000 JPEGs of 600x400 with a camera's Exif, three to a bracket (biases 0, -2, +2; 10 s apart),
// made once from one photo that exiftool tagged, each with its own capture time.
std::vector<std::u16string> TaggedPhotos()
{
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / "lvp_bench_grouping_1000";
    std::vector<std::u16string> photos;
    const std::string base = (dir / "base.jpg").string();
    fs::create_directories(dir);
    if (!fs::exists(base)) {
        const std::string make =
            "convert /usr/share/wallpapers/EveningGlow/contents/images/2560x1600.jpg -resize "
            "'600x400!' -quality 90 '" +
            base +
            "' && exiftool -q -overwrite_original "
            "-Make=Lumivant -Model=LV-1 '-DateTimeOriginal=2024:05:01 10:00:00' "
            "-SubSecTimeOriginal=25 -ExposureTime=0.01 -FNumber=8 -ISO=100 "
            "-ExposureCompensation=0 '" +
            base + "'";
        if (std::system(make.c_str()) != 0)
            std::abort();
    }
    std::ifstream in(base, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const size_t at = bytes.find("2024:05:01 10:00:00");
    if (at == std::string::npos)
        std::abort();
    for (int i = 0; i < 1000; ++i) {
        std::string photo = bytes;
        const int seconds = (i / 3) * 10 + i % 3;
        char stamp[20];
        std::snprintf(stamp, sizeof stamp, "2024:05:01 %02d:%02d:%02d", 10 + seconds / 3600,
                      seconds / 60 % 60, seconds % 60);
        photo.replace(at, 19, stamp);
        const fs::path path = dir / ("IMG_" + std::to_string(1000 + i) + ".jpg");
        std::ofstream(path, std::ios::binary) << photo;
        photos.push_back(platform::Utf8ToUtf16(path.string()));
    }
    return photos;
}

// With the files cached after the first pass, as after a look at the folder.
void BM_ReadAndGroup1000(benchmark::State& state)
{
    static const std::vector<std::u16string> photos = TaggedPhotos();
    size_t nBrackets = 0;
    for (auto _ : state) {
        const std::vector<lvp::SBracket> brackets =
            lvp::GroupBrackets(lvp::ReadCaptureData(photos, platform::RealOs()));
        nBrackets = brackets.size();
        benchmark::DoNotOptimize(brackets.data());
    }
    state.counters["brackets"] = double(nBrackets);
}
} // namespace

BENCHMARK(BM_ReadAndGroup1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GroupBrackets)
    ->ArgName("series")
    ->Arg(Paused)
    ->Arg(Continuous)
    ->Arg(Dense)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
