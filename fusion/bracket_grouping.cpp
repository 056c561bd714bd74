// The selection split into brackets by camera, pixel size, capture times and exposure values.
#include "fusion/bracket_grouping.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>
#include <set>

namespace lvp {
namespace {
using metadata::SCaptureData;

constexpr double kTimeSlack = 1e-3;          // rounding of the times' decimal fractions
constexpr double kSameEv = 1.0 / 6;          // exposure values closer than this are the same
constexpr double kRepeatEv = 1.0 / 3 + 0.02; // a repeat of the first exposure (biases like -0.33)

std::optional<double> Finite(const std::optional<double>& value)
{
    return value && std::isfinite(*value) ? value : std::nullopt;
}

std::optional<double> ComputedEv(const SCaptureData& photo)
{
    const std::optional<double> t = Finite(photo.exposureSeconds), n = Finite(photo.fNumber);
    if (!t || !n || *t <= 0 || *n <= 0)
        return std::nullopt;
    const std::optional<double> iso = Finite(photo.iso);
    const double ev = std::log2(*t * (iso && *iso > 0 ? *iso : 100.0) / 100.0 / (*n * *n));
    return std::isfinite(ev) ? std::optional<double>(ev) : std::nullopt;
}

// Whether photo b was taken apart from photo a, its predecessor in the selection: more than the
// limit after a ended, or (a selection not in capture order) more than the limit before a began.
bool TakenApart(const SCaptureData& a, const SCaptureData& b)
{
    const std::optional<double> ta = Finite(a.captureTime), tb = Finite(b.captureTime);
    if (!ta || !tb)
        return false;
    const std::optional<double> exposure = Finite(a.exposureSeconds);
    const double limit = (a.bWholeSeconds || b.bWholeSeconds ? 3.0 : 2.0) + kTimeSlack;
    return *tb - (*ta + (exposure && *exposure > 0 ? *exposure : 0.0)) > limit || *ta - *tb > limit;
}

// The exposure values of the bracket being built, for telling when the camera began the next one.
class CBracketExposures {
public:
    void Start(std::optional<double> first)
    {
        m_first = first;
        m_values.clear();
        m_smallestStep = std::numeric_limits<double>::infinity();
        Add(first);
    }

    void Add(std::optional<double> ev)
    {
        if (!ev)
            return;
        // The nearest values that differ from ev: the largest below ev - kSameEv, the smallest above.
        const auto above = m_values.upper_bound(*ev + kSameEv);
        if (above != m_values.end())
            m_smallestStep = std::min(m_smallestStep, *above - *ev);
        const auto below = m_values.lower_bound(*ev - kSameEv);
        if (below != m_values.begin())
            m_smallestStep = std::min(m_smallestStep, *ev - *std::prev(below));
        m_values.insert(*ev);
    }

    // Whether ev repeats the first photo's after the bracket has varied: within 1/3 EV of it, and
    // within half the bracket's smallest step, so that brackets of 1/3 EV steps stay whole.
    bool Repeats(std::optional<double> ev) const
    {
        return ev && m_first && std::isfinite(m_smallestStep) &&
               std::abs(*ev - *m_first) < std::min(kRepeatEv, m_smallestStep / 2);
    }

private:
    std::optional<double> m_first;
    std::multiset<double> m_values;
    double m_smallestStep = std::numeric_limits<double>::infinity();
};
} // namespace

std::vector<std::optional<double>> ExposureValues(const std::vector<SCaptureData>& photos)
{
    std::vector<std::optional<double>> values;
    values.reserve(photos.size());
    bool bAllBiases = true;
    for (const SCaptureData& photo : photos)
        bAllBiases = bAllBiases && Finite(photo.exposureBias);
    for (const SCaptureData& photo : photos)
        values.push_back(bAllBiases ? photo.exposureBias : ComputedEv(photo));
    return values;
}

std::vector<SBracket> GroupBrackets(const std::vector<SCaptureData>& photos, EFusionMode mode)
{
    const bool bExposureRestarts = mode == EFusionMode::Exposure;
    std::vector<SBracket> brackets;
    if (photos.empty())
        return brackets;
    const std::vector<std::optional<double>> evs = ExposureValues(photos);
    CBracketExposures exposures;
    exposures.Start(evs[0]);
    brackets.push_back({0, 1});
    for (size_t i = 1; i < photos.size(); ++i) {
        const SCaptureData &prev = photos[i - 1], &photo = photos[i];
        // An unknown camera or size differs from a known one: the frames of one bracket come
        // from one camera and carry the same Exif, a frame without it came some other way.
        if (photo.strCamera != prev.strCamera || photo.size != prev.size || TakenApart(prev, photo) ||
            (bExposureRestarts && exposures.Repeats(evs[i]))) {
            brackets.push_back({i, 1});
            exposures.Start(evs[i]);
        } else {
            ++brackets.back().nCount;
            exposures.Add(evs[i]);
        }
    }
    return brackets;
}

size_t FusibleCount(const std::vector<SBracket>& brackets)
{
    size_t nFusible = 0;
    for (const SBracket& bracket : brackets)
        nFusible += bracket.nCount >= 2 ? 1 : 0;
    return nFusible;
}
} // namespace lvp
