// The metadata step (lvp_fusion's CarryMetadata over the real OS, as the run calls it) on a
// 12-megapixel fused JPEG against the enfuse run that made it from the same series of three
// 4384x2740 exposures: read the photo and the output, carry, write a temporary beside the output,
// flush it to the disk and move it into place. Reports the step's share of the enfuse run, and
// the splitting and joining of XMP packets beyond one JPEG segment.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fusion/metadata_step.h"
#include "metadata/metadata.h"
#include "metadata/xmp_packet.h"
#include "platform/os.h"

namespace {
namespace fs = std::filesystem;

const fs::path& Series()
{
    static const fs::path dir = [] {
        fs::path d = fs::temp_directory_path() / "lvp_bench_metadata_4384x2740";
        fs::create_directories(d);
        const char* const factors[] = {"0.25", "1", "4"};
        for (int i = 0; i < 3; ++i) {
            const fs::path out = d / ("IMG_000" + std::to_string(i + 1) + ".jpg");
            if (fs::exists(out))
                continue;
            const std::string cmd =
                "convert /usr/share/wallpapers/EveningGlow/contents/images/2560x1600.jpg -resize "
                "'4384x2740!' -colorspace RGB -evaluate multiply " +
                std::string(factors[i]) + " -colorspace sRGB -strip -quality 95 '" + out.string() + "'";
            if (std::system(cmd.c_str()) != 0)
                std::abort();
        }
        // The first photo as a camera leaves it: Exif with a thumbnail, GPS, XMP, IPTC.
        const std::string tag =
            "exiftool -q -overwrite_original -Make=Lumivant -Model=LV-1 -Orientation#=6 "
            "'-DateTimeOriginal=2024:05:01 10:20:30' -GPSLatitude=47.5 -GPSLatitudeRef=N "
            "-XMP-xmp:Rating=4 -XMP-dc:Subject=Berge -IPTC:Keywords=Alpen -ExifImageWidth=4384 "
            "-ExifImageHeight=2740 '-ThumbnailImage<=" +
            (d / "thumb.jpg").string() + "' '" + (d / "IMG_0001.jpg").string() + "'";
        const std::string thumb = "convert '" + (d / "IMG_0002.jpg").string() + "' -resize 160x100 '" +
                                  (d / "thumb.jpg").string() + "'";
        if (std::system(thumb.c_str()) != 0 || std::system(tag.c_str()) != 0)
            std::abort();
        return d;
    }();
    return dir;
}

double g_enfuseSeconds = 0; // the last enfuse run, for the step's share

bool RunEnfuse()
{
    const fs::path& d = Series();
    const std::string cmd = "enfuse -o '" + (d / "fused.jpg").string() + "' '" +
                            (d / "IMG_0001.jpg").string() + "' '" + (d / "IMG_0002.jpg").string() + "' '" +
                            (d / "IMG_0003.jpg").string() + "' >/dev/null 2>&1";
    const auto start = std::chrono::steady_clock::now();
    const bool ok = std::system(cmd.c_str()) == 0;
    g_enfuseSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return ok;
}

std::vector<uint8_t> ReadAll(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void BM_EnfuseRun(benchmark::State& state)
{
    Series(); // made once, outside the timing
    for (auto _ : state)
        if (!RunEnfuse())
            state.SkipWithError("enfuse failed");
    state.counters["seconds"] = g_enfuseSeconds;
}
BENCHMARK(BM_EnfuseRun)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// What the step does after enfuse, as the run does it.
void BM_MetadataStep(benchmark::State& state)
{
    const fs::path& d = Series();
    if (!fs::exists(d / "fused.jpg") && !RunEnfuse())
        state.SkipWithError("enfuse failed");
    const std::vector<uint8_t> fused = ReadAll(d / "fused.jpg");
    const fs::path output = d / "step.jpg";
    const std::u16string photo = (d / "IMG_0001.jpg").u16string(), target = output.u16string();
    std::chrono::duration<double> spent{0};
    for (auto _ : state) {
        state.PauseTiming();
        std::ofstream(output, std::ios::binary)
            .write(reinterpret_cast<const char*>(fused.data()), static_cast<std::streamsize>(fused.size()));
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        if (lvp::CarryMetadata(platform::RealOs(), photo, target) != lvp::metadata::ECarryOutcome::Done)
            state.SkipWithError("not carried");
        spent += std::chrono::steady_clock::now() - start;
    }
    state.counters["bytes"] = static_cast<double>(fused.size());
    if (g_enfuseSeconds > 0 && state.iterations() > 0)
        state.counters["share_of_enfuse_pct"] =
            100 * spent.count() / static_cast<double>(state.iterations()) / g_enfuseSeconds;
}
BENCHMARK(BM_MetadataStep)->Unit(benchmark::kMillisecond)->UseRealTime();

// The carrying alone, over bytes in memory.
void BM_CarryOverInMemory(benchmark::State& state)
{
    const fs::path& d = Series();
    if (!fs::exists(d / "fused.jpg") && !RunEnfuse())
        state.SkipWithError("enfuse failed");
    const std::vector<uint8_t> photo = ReadAll(d / "IMG_0001.jpg"), fused = ReadAll(d / "fused.jpg");
    for (auto _ : state)
        benchmark::DoNotOptimize(lvp::metadata::CarryOver(photo, fused));
}
BENCHMARK(BM_CarryOverInMemory)->Unit(benchmark::kMicrosecond)->UseRealTime();

// A packet beyond one JPEG segment (a long edit history) split for a JPEG output, and the parts
// joined again for a TIFF output; range(0) is the packet's size in KiB.
void BM_XmpSplitAndMerge(benchmark::State& state)
{
    std::string text = "<x:xmpmeta xmlns:x='adobe:ns:meta/'><rdf:RDF xmlns:rdf='http://www.w3.org/1999/02/"
                       "22-rdf-syntax-ns#'><rdf:Description rdf:about='' xmlns:xmp='http://ns.adobe.com/xap/1.0/' "
                       "xmlns:stEvt='http://ns.adobe.com/xap/1.0/sType/ResourceEvent#' xmp:Rating='4'>"
                       "<xmpMM:History xmlns:xmpMM='http://ns.adobe.com/xap/1.0/mm/'><rdf:Seq>";
    const size_t size = static_cast<size_t>(state.range(0)) * 1024;
    for (int i = 0; text.size() < size; ++i)
        text += "<rdf:li stEvt:action='saved' stEvt:when='2024-05-01T10:20:30' stEvt:instanceID='xmp.iid:" +
                std::to_string(i) + "'/>";
    text += "</rdf:Seq></xmpMM:History></rdf:Description></rdf:RDF></x:xmpmeta>";
    const std::vector<uint8_t> packet(text.begin(), text.end());
    for (auto _ : state) {
        const std::optional<lvp::metadata::SXmpSplit> split = lvp::metadata::SplitXmp(packet, 65504);
        if (!split)
            state.SkipWithError("not split");
        else
            benchmark::DoNotOptimize(lvp::metadata::MergeExtendedXmp(split->main, split->extended));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * packet.size()));
}
BENCHMARK(BM_XmpSplitAndMerge)->Arg(128)->Arg(1024)->Arg(10240)->Unit(benchmark::kMillisecond)->UseRealTime();
} // namespace

BENCHMARK_MAIN();
