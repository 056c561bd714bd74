// CToolProgress: how far one bracket's run has come, from the lines its tools print (read as a
// byte stream, in any pieces) and from the clock, as a fraction that never goes back.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace lvp {
// What the run is doing, as the display names it.
enum class EProgressStage {
    Waiting,    // no tool runs yet
    AlignPairs, // control points between photo pair nItem of nItems, then the optimiser
    AlignRemap, // photo nItem of nItems remapped
    FuseLoad,   // enfuse loads photo nItem of nItems and makes its weights
    Blend,      // enfuse blends (it prints nothing meanwhile)
    Done,       // the run has ended
};

struct SStageDetail {
    EProgressStage stage = EProgressStage::Waiting;
    unsigned nItem = 0;
    unsigned nItems = 0;
    bool operator==(const SStageDetail&) const = default;
};

// What the phases cost, in seconds, measured by bench/progress_phases.sh on 2 cores with enfuse
// 4.2 and align_image_stack 2022.0 over brackets of 3 and 5 photos of 12 megapixels (and 3 of
// 0.9): control points 0.9 for each photo pair (0.74 to 1.12; 0.45 at 0.9 MP: align_image_stack
// finds them on reduced images); the optimiser 0.5 (0.4 to 0.57; 0.8 at 0.9 MP); remapping 0.29
// for each megapixel of each photo (0.26 to 0.31; 12 MP x 3: 10.4 s of a 13 s alignment);
// enfuse's loads and weights 0.055 for each megapixel of each photo (aligned TIFFs 0.05 to 0.07,
// the photos 0.04 to 0.055) and its blending after them 1.5 times the loads of aligned TIFFs (1.2
// to 1.6) and 1.9 times those of the photos (1.6 to 2.1; up to 3.8 at 0.9 MP). They set the
// phases' shares of a bracket; the blending's progress is the loads' measured time times the ratio.
namespace progress_cost {
constexpr double kPair = 0.9;
constexpr double kOptimiser = 0.5;
constexpr double kRemapPerMegapixel = 0.29;
constexpr double kLoadPerMegapixel = 0.055;
constexpr double kBlendPerPhotoLoad = 1.9;
constexpr double kBlendPerAlignedLoad = 1.5;
constexpr double kUnknownMegapixels = 12.0; // a photo whose size cannot be read
constexpr unsigned kMatchLinesPerPair = 25; // align_image_stack's default grid of 5 x 5 cells
} // namespace progress_cost

// The share of a bracket that enfuse's blending may reach before enfuse has ended.
constexpr double kHeldBelow = 0.95;

class CToolProgress {
public:
    // nPhotos photos of megapixels each (0: unknown), aligned first when bAlign.
    CToolProgress(size_t nPhotos, double megapixels, bool bAlign);

    // A tool starts at now (seconds on a steady clock): the alignment, or the fusion (which puts
    // the alignment behind, whether it ran or not) of the aligned images or of the photos.
    void BeginAlign(double now);
    void BeginFuse(double now, bool bAlignedImages);
    // What the running tool printed, as it came.
    void Feed(std::string_view bytes, double now);
    // The clock moves the blending's estimate.
    void Tick(double now);
    // The run has ended: a fused bracket is whole, any other stays where it was.
    void Finish(bool bFused);

    // Of the whole bracket, 0 to 1; below 1 until Finish(true).
    double Fraction() const { return m_fraction; }
    SStageDetail Detail() const { return m_detail; }
    // The weight of the bracket among others: its estimated seconds.
    double Cost() const { return m_total; }

private:
    enum class ETool { None, Align, Fuse };
    void Line(std::string_view line, double now);
    void AlignLine(std::string_view line);
    void FuseLine(double now);
    void Update(double now);

    const unsigned m_nPhotos;
    const bool m_bAlign;
    double m_blendPerLoad = 0; // the blending's pace, set when the fusion begins
    double m_pairs = 0, m_optimiser = 0, m_remap = 0, m_load = 0, m_blend = 0, m_total = 0;
    ETool m_tool = ETool::None;
    std::string m_pending; // bytes after the last line feed
    unsigned m_nPairLines = 0, m_nMatchLines = 0, m_nRemapLines = 0, m_nRemapped = 0;
    bool m_bOptimised = false;
    unsigned m_nLoads = 0;
    double m_firstLoad = 0, m_lastLoad = 0;
    double m_fraction = 0;
    SStageDetail m_detail;
    bool m_bEnded = false;
};
} // namespace lvp
