// The selection split into its brackets by the photos' capture data, in the host's order.
#pragma once
#include "fusion/fusion_mode.h"
#include "metadata/capture_data.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace lvp {
struct SBracket {
    size_t nFirst = 0; // index of its first photo in the selection
    size_t nCount = 0; // its photos: nFirst .. nFirst + nCount - 1
    bool operator==(const SBracket&) const = default;
};

// The brackets of a selection, every photo in exactly one, in order. Photo i starts a new
// bracket when its camera or pixel size differs from photo i-1's; when both have capture times
// and it starts more than 2 s after photo i-1 ended (capture time plus exposure time; more than
// 3 s when either time is whole seconds); or when the bracket so far holds two photos of
// different exposure values and photo i's is within 1/3 EV of the bracket's first photo's (and
// within half the bracket's smallest step, so that brackets of 1/3 EV steps stay whole). An
// unknown camera or size differs from a known one, two unknowns are equal; a photo taken more
// than the limit before photo i-1 (a selection not in capture order) starts a new bracket too.
// A bracket of one photo is returned like the others (it cannot be fused; the caller names it).
// A focus stack is taken at one exposure, or at exposures that vary by chance: there the exposure
// values start no bracket, only the camera, the size and the times do.
std::vector<SBracket> GroupBrackets(const std::vector<metadata::SCaptureData>& photos,
                                    EFusionMode mode = EFusionMode::Exposure);

// The light each photo was taken with, in EV, higher for more light, comparable across the
// selection: the exposure biases where every photo has one, else log2(t * ISO / 100 / N^2) from
// exposure time, ISO (100 when unknown) and f-number; empty for a photo where the chosen way
// cannot be taken.
std::vector<std::optional<double>> ExposureValues(const std::vector<metadata::SCaptureData>& photos);

// The brackets that can be fused: those of two or more photos.
size_t FusibleCount(const std::vector<SBracket>& brackets);
} // namespace lvp
