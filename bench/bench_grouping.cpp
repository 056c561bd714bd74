// The grouping of 1 000 photos' capture data into brackets (lvp_fusion, through lvp_ui): brackets
// of three with pauses, one continuous series split only by its exposures, and one continuous
// series of many slightly different exposures (the most work for the bracket's steps).
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "fusion/bracket_grouping.h"

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
} // namespace

BENCHMARK(BM_GroupBrackets)
    ->ArgName("series")
    ->Arg(Paused)
    ->Arg(Continuous)
    ->Arg(Dense)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
