// The progress of a bracket from scripted tool output (align_image_stack's and enfuse's lines, cut
// into pieces, with times): the fractions and stages it gives, never back, 1 only on success; and
// the words the display shows for them.
#include "fusion/progress_text.h"
#include "fusion/tool_progress.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
using namespace lvp;
using S = EProgressStage;
namespace cost = progress_cost;

// One event of a script: a tool begins (Fuse: on what the bracket planned, FusePhotos: on the
// photos after a failed alignment), bytes arrive, the clock moves, or the run ends.
struct SEvent {
    enum EKind { Align, Fuse, FusePhotos, Bytes, Tick, Fused, Failed } kind;
    double at = 0;
    std::string bytes{};
};
// What the model says after an event.
struct SWant {
    double fraction;
    SStageDetail detail;
};

std::string Lines(const std::string& line, unsigned n)
{
    std::string out;
    for (unsigned i = 0; i < n; ++i)
        out += line;
    return out;
}

// 12 MP, 3 photos: the phases' seconds as the model weighs them.
const double kPairs = 2 * cost::kPair, kRemap = cost::kRemapPerMegapixel * 36,
             kLoad = cost::kLoadPerMegapixel * 36;
const double kAligned = kPairs + cost::kOptimiser + kRemap + kLoad * (1 + cost::kBlendPerAlignedLoad);
const double kUnaligned = kLoad * (1 + cost::kBlendPerPhotoLoad);
const std::string kLoadLine = "enfuse: info: loading next image: /tmp/IMG_1.jpg 1/1\n";
const std::string kMatch = "Number of good matches: 8, bad matches: 32\n";

TEST(ToolProgress, ScriptedRuns)
{
    using E = SEvent;
    struct Case {
        const char* name;
        bool bAlign;
        std::vector<SEvent> events;
        std::vector<SWant> want; // after each event
    } cases[] = {
        {"enfuse alone: loads as lines of N, the blending by the clock, held below 95 % until it ends",
         false,
         {{E::Fuse, 0},
          {E::Bytes, 0.1, kLoadLine},
          {E::Bytes, 0.3, kLoadLine},
          {E::Bytes, 0.5, kLoadLine},
          {E::Tick, 0.65},
          {E::Tick, 0.7 + cost::kBlendPerPhotoLoad * 0.6 / 2},
          {E::Tick, 9},
          {E::Fused, 9.1}},
         {{0, {S::FuseLoad, 1, 3}},
          {kLoad / 3 / kUnaligned, {S::FuseLoad, 1, 3}},
          {kLoad * 2 / 3 / kUnaligned, {S::FuseLoad, 2, 3}},
          {kLoad / kUnaligned, {S::FuseLoad, 3, 3}},
          {kLoad / kUnaligned, {S::FuseLoad, 3, 3}}, // the last load (0.2 s) is not over
          {kLoad * (1 + cost::kBlendPerPhotoLoad / 2) / kUnaligned, {S::Blend}}, // half way
          {kHeldBelow, {S::Blend}},
          {1, {S::Done}}}},
        {"lines in pieces count when their line feed comes; other lines count nothing",
         false,
         {{E::Fuse, 0},
          {E::Bytes, 0.1,
           "enfuse: info: input image \"a.jpg\" does not have an alpha channel;\nenfuse: info: load"},
          {E::Bytes, 0.2, "ing next image: a.jpg 1/1\r"},
          {E::Bytes, 0.3, "\nenfuse.exe: info: loading next image: b.jpg 1/1\n"}},
         {{0, {S::FuseLoad, 1, 3}},
          {0, {S::FuseLoad, 1, 3}},
          {0, {S::FuseLoad, 1, 3}},
          {kLoad * 2 / 3 / kUnaligned, {S::FuseLoad, 2, 3}}}},
        {"aligned: control points as lines of (N-1) x 25, the optimiser one step, remapping as lines of 3N",
         true,
         {{E::Align, 0},
          {E::Bytes, 0.1, "Creating control points between a.jpg and b.jpg\nTrying to find 8 corners... \n"},
          {E::Bytes, 0.5, Lines(kMatch, 25)},
          {E::Bytes, 0.6, "Creating control points between b.jpg and c.jpg\n" + Lines(kMatch, 25)},
          {E::Bytes, 1.2, "Optimizing Variables\nStrategy 1\n"},
          {E::Bytes, 1.4,
           "Set crop size to 0,0,4384,2740\nMultiple images output\nloading a.jpg\nremapping a.jpg\n"},
          {E::Bytes, 4.0, "saving al0000.tif\nloading b.jpg\nremapping b.jpg\n"},
          {E::Fuse, 9.5},
          {E::Bytes, 9.6, kLoadLine},
          {E::Failed, 9.7}},
         {{0, {S::AlignPairs, 1, 2}},
          {0, {S::AlignPairs, 1, 2}},
          {kPairs / 2 / kAligned, {S::AlignPairs, 1, 2}},
          {kPairs / kAligned, {S::AlignPairs, 2, 2}},
          {kPairs / kAligned, {S::AlignPairs, 2, 2}},
          {(kPairs + cost::kOptimiser + kRemap * 2 / 9) / kAligned, {S::AlignRemap, 1, 3}},
          {(kPairs + cost::kOptimiser + kRemap * 5 / 9) / kAligned, {S::AlignRemap, 2, 3}},
          {(kPairs + cost::kOptimiser + kRemap) / kAligned, {S::FuseLoad, 1, 3}},
          {(kPairs + cost::kOptimiser + kRemap + kLoad / 3) / kAligned, {S::FuseLoad, 1, 3}},
          {(kPairs + cost::kOptimiser + kRemap + kLoad / 3) / kAligned, {S::Done}}}}, // a failure stays
        {"a failed alignment: the fusion of the photos goes on from where the bar was, its blending "
         "paced as the photos' is",
         true,
         {{E::Align, 0},
          {E::Bytes, 0.5, "Creating control points between a and b\n" + Lines(kMatch, 25)},
          {E::FusePhotos, 1},
          {E::Bytes, 1.1, kLoadLine + kLoadLine},
          {E::Bytes, 1.3, kLoadLine},
          {E::Tick, 1.4 + cost::kBlendPerPhotoLoad * 0.3 / 2}, // loads of 0.1 s
          {E::Fused, 3}},
         {{0, {S::AlignPairs, 1, 2}},
          {kPairs / 2 / kAligned, {S::AlignPairs, 1, 2}},
          {(kPairs + cost::kOptimiser + kRemap) / kAligned, {S::FuseLoad, 1, 3}},
          {(kPairs + cost::kOptimiser + kRemap + kLoad * 2 / 3) / kAligned, {S::FuseLoad, 2, 3}},
          {(kPairs + cost::kOptimiser + kRemap + kLoad) / kAligned, {S::FuseLoad, 3, 3}},
          {(kPairs + cost::kOptimiser + kRemap + kLoad * (1 + cost::kBlendPerAlignedLoad / 2)) / kAligned,
           {S::Blend}},
          {1, {S::Done}}}},
    };
    for (const Case& c : cases) {
        CToolProgress progress(3, 12.0, c.bAlign);
        ASSERT_EQ(c.events.size(), c.want.size()) << c.name;
        double last = 0;
        for (size_t i = 0; i < c.events.size(); ++i) {
            const SEvent& e = c.events[i];
            switch (e.kind) {
            case E::Align:
                progress.BeginAlign(e.at);
                break;
            case E::Fuse:
            case E::FusePhotos:
                progress.BeginFuse(e.at, c.bAlign && e.kind == E::Fuse);
                break;
            case E::Bytes:
                progress.Feed(e.bytes, e.at);
                break;
            case E::Tick:
                progress.Tick(e.at);
                break;
            case E::Fused:
                progress.Finish(true);
                break;
            case E::Failed:
                progress.Finish(false);
                break;
            }
            EXPECT_NEAR(progress.Fraction(), c.want[i].fraction, 1e-9) << c.name << ": event " << i;
            EXPECT_EQ(progress.Detail(), c.want[i].detail) << c.name << ": event " << i;
            EXPECT_GE(progress.Fraction(), last) << c.name << ": never back";
            EXPECT_TRUE(progress.Fraction() < 1 || e.kind == E::Fused) << c.name << ": 1 only when fused";
            last = progress.Fraction();
        }
    }
}

// The shares follow the measured costs: the alignment's remapping grows with the photos' size,
// its control points do not; a size that cannot be read counts as 12 MP.
TEST(ToolProgress, CostsBySizeAndCount)
{
    struct Case {
        size_t nPhotos;
        double megapixels;
        bool bAlign;
        double want;
    } cases[] = {
        {3, 12, false, kUnaligned},
        {3, 0, false, kUnaligned},
        {3, 12, true, kAligned},
        {5, 2, true,
         4 * cost::kPair + cost::kOptimiser +
             (cost::kRemapPerMegapixel + cost::kLoadPerMegapixel * (1 + cost::kBlendPerAlignedLoad)) * 10},
        {0, 12, false, cost::kLoadPerMegapixel * 12 * (1 + cost::kBlendPerPhotoLoad)}, // counted as one photo
    };
    for (const Case& c : cases)
        EXPECT_NEAR(CToolProgress(c.nPhotos, c.megapixels, c.bAlign).Cost(), c.want, 1e-9)
            << c.nPhotos << " " << c.megapixels;
}
} // namespace

namespace {
// The display's words for each stage, with the bracket first in a batch; the clock as m:ss.
TEST(ProgressText, StagesAndElapsed)
{
    using S = EProgressStage;
    const auto at = [](SStageDetail d, unsigned nBracket = 0, unsigned nBrackets = 0) {
        return SRunProgress{ERunPhase::Fuse, 1, 1, 0.5, d, nBracket, nBrackets};
    };
    struct Case {
        SRunProgress progress;
        std::u16string want;
    } cases[] = {
        {at({S::AlignPairs, 1, 2}), u"Ausrichten: Bildpaar 1 von 2"},
        {at({S::AlignRemap, 2, 3}), u"Ausrichten: Bild 2 von 3"},
        {at({S::FuseLoad, 2, 3}), u"Zusammenf\u00fchren: Bild 2 von 3"},
        {at({S::Blend}), u"\u00dcberblenden"},
        {at({S::FuseLoad, 2, 3}, 3, 40), u"Reihe 3 von 40, Zusammenf\u00fchren: Bild 2 von 3"},
        {at({S::Blend}, 1, 1), u"\u00dcberblenden"}, // a batch of one is not named
        {at({S::Waiting}), u""},
        {at({S::Done}, 2, 2), u""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StageText(c.progress), c.want) << static_cast<int>(c.progress.detail.stage);
    const std::pair<double, std::u16string> times[] = {
        {0, u"0:00"}, {9.99, u"0:09"}, {61, u"1:01"}, {3600, u"60:00"}, {-5, u"0:00"}};
    for (const auto& [seconds, want] : times)
        EXPECT_EQ(ElapsedText(seconds), want) << seconds;
}
} // namespace
