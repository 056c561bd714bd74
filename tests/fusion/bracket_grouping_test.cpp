// The grouping of a selection into brackets by camera, size, capture times and exposure values.
#include "fusion/bracket_grouping.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>

namespace {
using namespace lvp;
using metadata::SCaptureData;
using metadata::SImageSize;
using Photos = std::vector<SCaptureData>;

constexpr double kStart = 1714558830.25; // 2024-05-01 10:20:30.25

SCaptureData Shot(double time, double bias, double exposure = 0.01)
{
    SCaptureData photo;
    photo.captureTime = time;
    photo.exposureSeconds = exposure;
    photo.exposureBias = bias;
    photo.fNumber = 8;
    photo.iso = 100;
    photo.strCamera = "Lumivant LV-1 0815";
    photo.size = SImageSize{6000, 4000};
    return photo;
}

// nRepeats brackets of the biases: shots step seconds apart, pause seconds between brackets.
Photos Brackets(std::vector<double> biases, int nRepeats, double step, double pause, double start = kStart)
{
    Photos photos;
    double time = start;
    for (int r = 0; r < nRepeats; ++r, time += pause - step)
        for (double bias : biases) {
            photos.push_back(Shot(time, bias));
            time += step;
        }
    return photos;
}

Photos Join(std::initializer_list<Photos> parts)
{
    Photos all;
    for (const Photos& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

// Photos without biases whose light comes from exposure time, f-number and ISO.
Photos Computed(std::vector<std::array<double, 3>> tNIso, double step)
{
    Photos photos;
    for (size_t i = 0; i < tNIso.size(); ++i) {
        SCaptureData photo = Shot(kStart + double(i) * step, 0, tNIso[i][0]);
        photo.exposureBias.reset();
        photo.fNumber = tNIso[i][1];
        photo.iso = tNIso[i][2];
        photos.push_back(photo);
    }
    return photos;
}

template <class F> Photos With(Photos photos, F change)
{
    for (size_t i = 0; i < photos.size(); ++i)
        change(i, photos[i]);
    return photos;
}

std::vector<SBracket> FromCounts(const std::vector<size_t>& counts)
{
    std::vector<SBracket> brackets;
    size_t nFirst = 0;
    for (size_t nCount : counts) {
        brackets.push_back({nFirst, nCount});
        nFirst += nCount;
    }
    return brackets;
}

std::vector<size_t> Counts(const std::vector<SBracket>& brackets)
{
    std::vector<size_t> counts;
    for (const SBracket& bracket : brackets)
        counts.push_back(bracket.nCount);
    return counts;
}

TEST(GroupBrackets, SplitsBySeriesOfTimesExposuresCamerasAndSizes)
{
    const Photos night = {Shot(kStart, 2, 30),      Shot(kStart + 31, 0, 8), Shot(kStart + 40, -2, 2),
                          Shot(kStart + 52, 2, 30), Shot(kStart + 83, 0, 8), Shot(kStart + 92, -2, 2)};
    const auto whole = [](size_t, SCaptureData& p) { p.bWholeSeconds = true; };
    const double inf = std::numeric_limits<double>::infinity();
    SCaptureData sizeOnly;
    sizeOnly.size = SImageSize{6000, 4000};
    struct Case {
        const char* name;
        Photos photos;
        std::vector<size_t> counts;
    } cases[] = {
        {"empty selection", {}, {}},
        {"0,-2,+2 0.5 s apart, 10 s between", Brackets({0, -2, 2}, 3, 0.5, 10), {3, 3, 3}},
        {"-2,0,+2 0.5 s apart, 10 s between", Brackets({-2, 0, 2}, 3, 0.5, 10), {3, 3, 3}},
        {"0,-2,+2 shot continuously", Brackets({0, -2, 2}, 3, 0.3, 0.3), {3, 3, 3}},
        {"-2,0,+2 shot continuously", Brackets({-2, 0, 2}, 3, 0.3, 0.3), {3, 3, 3}},
        {"night: the frame after a 30 s exposure", night, {3, 3}},
        {"5 and 3 frames mixed, continuously",
         Join({Brackets({0, -1, 1, -2, 2}, 1, 0.3, 0.3), Brackets({0, -2, 2}, 2, 0.3, 0.3, kStart + 1.5),
               Brackets({0, -1, 1, -2, 2}, 1, 0.3, 0.3, kStart + 3.3)}),
         {5, 3, 3, 5}},
        {"a stray frame between brackets",
         Join({Brackets({0, -2, 2}, 1, 0.5, 0),
               {Shot(kStart + 10, 0)},
               Brackets({0, -2, 2}, 1, 0.5, 0, kStart + 20)}),
         {3, 1, 3}},
        {"no capture data at all", Photos(7, sizeOnly), {7}},
        {"two cameras' brackets in turn",
         With(Brackets({0, -2, 2, -2, 0, 2}, 2, 0.3, 0.3),
              [](size_t i, SCaptureData& p) { p.strCamera += "ab"[i / 3 % 2]; }),
         {3, 3, 3, 3}},
        {"two cameras frame by frame",
         With(Brackets({0, 0}, 2, 0.1, 0.1), [](size_t i, SCaptureData& p) { p.strCamera += "ab"[i % 2]; }),
         {1, 1, 1, 1}},
        {"a known camera after unknown ones",
         With(Brackets({0, -2, 2, 0, -2, 2}, 1, 0.3, 0),
              [](size_t i, SCaptureData& p) { p.strCamera.resize(i < 4 ? 0 : 3); }),
         {3, 1, 2}},
        {"the pixel size changes",
         With(Brackets({0, -2, 2}, 2, 0.3, 0.3),
              [](size_t i, SCaptureData& p) {
                  p.size = SImageSize{6000, i < 4 ? 4000u : 3376u};
              }),
         {3, 1, 2}},
        {"an unreadable size",
         With(Brackets({0, -2, 2}, 1, 0.3, 0),
              [](size_t i, SCaptureData& p) {
                  p.size.reset();
                  if (i == 1)
                      p.size = SImageSize{1, 1};
              }),
         {1, 1, 1}},
        {"a focus stack of 15 frames 0.2 s apart", Brackets({0}, 15, 0.2, 0.2), {15}},
        {"whole seconds: 3 s after the last ends", With(Brackets({0, 0}, 1, 3 + 0.01, 0), whole), {2}},
        {"whole seconds: 4 s after", With(Brackets({0, 0}, 1, 4, 0), whole), {1, 1}},
        {"whole seconds on one of them",
         With(Brackets({0, 0}, 1, 3, 0), [](size_t i, SCaptureData& p) { p.bWholeSeconds = i == 1; }),
         {2}},
        {"sub-second times: 3 s after", Brackets({0, 0}, 1, 3, 0), {1, 1}},
        {"just within 2 s of the end", Brackets({0, 0}, 1, 2 + 0.01, 0), {2}},
        {"selection in reverse capture order", Brackets({0, 0, 0}, 3, -0.5, -10), {3, 3, 3}},
        {"computed from t, N and ISO",
         Computed({{1. / 60, 8, 100},
                   {1. / 250, 8, 100},
                   {1. / 15, 8, 100},
                   {1. / 60, 8, 100},
                   {1. / 250, 8, 100},
                   {1. / 15, 8, 100}},
                  0.3),
         {3, 3}},
        {"computed: an ISO bracket",
         Computed({{0.01, 4, 400}, {0.01, 4, 100}, {0.01, 4, 1600}, {0.01, 4, 400}}, 0.3),
         {3, 1}},
        {"computed: equal exposures",
         Computed({{0.01, 4, 400}, {0.01, 4, 400}, {0.01, 4, 400}, {0.01, 4, 400}}, 0.3),
         {4}},
        {"1/3 EV steps stay whole", Brackets({0, -0.33, 0.33}, 3, 0.3, 0.3), {3, 3, 3}},
        {"next bracket shifted by 0.34 EV",
         Join({Brackets({0, -2, 2}, 1, 0.3, 0), Brackets({0.34, -1.66, 2.34}, 1, 0.3, 0, kStart + 0.9)}),
         {3, 3}},
        {"next bracket shifted by 2/3 EV",
         Join({Brackets({0, -2, 2}, 1, 0.3, 0), Brackets({0.67, -1.33, 2.67}, 1, 0.3, 0, kStart + 0.9)}),
         {6}},
        {"an unknown EV never splits",
         With(Brackets({0, -2, 2, 0, 0}, 1, 0.3, 0),
              [](size_t i, SCaptureData& p) {
                  p.exposureSeconds = 0.01 * std::exp2(*p.exposureBias);
                  p.exposureBias.reset();
                  if (i == 3)
                      p.fNumber.reset();
              }),
         {4, 1}},
        {"damaged values are unknown",
         With(Brackets({0, -2, 2, 0}, 1, 0.3, 0),
              [&](size_t i, SCaptureData& p) {
                  p.captureTime = i == 2 ? inf : NAN;
                  p.exposureSeconds = -1;
                  p.exposureBias = i == 0 ? NAN : 0;
              }),
         {4}},
    };
    for (const Case& c : cases) {
        const std::vector<SBracket> brackets = GroupBrackets(c.photos);
        EXPECT_EQ(brackets, FromCounts(c.counts))
            << c.name << ": " << testing::PrintToString(Counts(brackets));
    }
}

// A focus stack leaves out the restart of the exposure values; camera, size and times still split.
TEST(GroupBrackets, FocusStacksSplitByCameraSizeAndTimesOnly)
{
    struct Case {
        const char* name;
        Photos photos;
        std::vector<size_t> exposure, focus;
    } cases[] = {
        {"two brackets back to back", Brackets({0, -2, 2}, 2, 0.5, 0.5), {3, 3}, {6}},
        {"one exposure throughout", Brackets({0, 0, 0, 0, 0}, 1, 0.5, 0), {5}, {5}},
        {"exposures that vary and come back", Brackets({0, -0.7, 0.1, -0.7}, 1, 0.5, 0), {2, 2}, {4}},
        {"a pause", Brackets({0, 0, 0}, 2, 0.5, 10), {3, 3}, {3, 3}},
        {"another camera",
         With(Brackets({0, 0, 0, 0}, 1, 0.5, 0),
              [](size_t i, SCaptureData& p) { p.strCamera += i >= 2 ? "x" : ""; }),
         {2, 2},
         {2, 2}},
        {"another size",
         With(Brackets({0, 0, 0}, 1, 0.5, 0),
              [](size_t i, SCaptureData& p) { p.size->width += i == 2 ? 1 : 0; }),
         {2, 1},
         {2, 1}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GroupBrackets(c.photos), FromCounts(c.exposure)) << c.name;
        EXPECT_EQ(GroupBrackets(c.photos, EFusionMode::Exposure), FromCounts(c.exposure)) << c.name;
        EXPECT_EQ(GroupBrackets(c.photos, EFusionMode::Focus), FromCounts(c.focus)) << c.name;
    }
}

TEST(ExposureValues, BiasesWhenAllHaveOneElseFromTimeApertureAndIso)
{
    const auto photo = [](std::optional<double> bias, std::optional<double> t, std::optional<double> n,
                          std::optional<double> iso) {
        SCaptureData p;
        p.exposureSeconds = t;
        p.exposureBias = bias;
        p.fNumber = n;
        p.iso = iso;
        return p;
    };
    using Evs = std::vector<std::optional<double>>;
    const std::nullopt_t none = std::nullopt;
    struct Case {
        const char* name;
        Photos photos;
        Evs evs;
    } cases[] = {
        {"empty", {}, {}},
        {"all biases", {photo(-0.33, 1, 1, 100), photo(2, none, none, none)}, {-0.33, 2}},
        {"one without a bias",
         {photo(-2, 1, 1, 100), photo(none, 4, 2, 400), photo(0, 1, none, 100)},
         {0, 2, none}},
        {"ISO unknown is 100", {photo(none, 0.5, 1, none), photo(none, 8, 2, 0)}, {-1, 1}},
        {"damaged",
         {photo(NAN, 0, 8, 100), photo(none, 1, 0, 100), photo(none, -1, 8, 100),
          photo(none, 1e-320, 1e300, 100)},
         {none, none, none, none}},
    };
    for (const Case& c : cases) {
        const Evs evs = ExposureValues(c.photos);
        ASSERT_EQ(evs.size(), c.evs.size()) << c.name;
        for (size_t i = 0; i < evs.size(); ++i) {
            EXPECT_EQ(evs[i].has_value(), c.evs[i].has_value()) << c.name << " " << i;
            if (evs[i] && c.evs[i]) {
                EXPECT_NEAR(*evs[i], *c.evs[i], 1e-9) << c.name << " " << i;
            }
        }
    }
}

TEST(FusibleCount, BracketsOfTwoOrMore)
{
    EXPECT_EQ(FusibleCount({}), 0u);
    EXPECT_EQ(FusibleCount(FromCounts({1, 3, 1, 2, 5})), 3u);
    EXPECT_EQ(FusibleCount(GroupBrackets(Join({Brackets({0, -2, 2}, 1, 0.5, 0), {Shot(kStart + 10, 0)}}))),
              1u);
}
} // namespace
