// The progress of a bracket from align_image_stack's and enfuse's lines and the clock.
#include "fusion/tool_progress.h"

#include <algorithm>

namespace lvp {
namespace {
bool StartsWith(std::string_view line, std::string_view prefix)
{
    return line.substr(0, prefix.size()) == prefix;
}

double Share(double part, double whole)
{
    return whole > 0 ? std::min(1.0, part / whole) : 1.0;
}

// The blending's seconds for each second of enfuse's loads, by what it reads.
double BlendPerLoad(bool bAlignedImages)
{
    return bAlignedImages ? progress_cost::kBlendPerAlignedLoad : progress_cost::kBlendPerPhotoLoad;
}
} // namespace

CToolProgress::CToolProgress(size_t nPhotos, double megapixels, bool bAlign)
    : m_nPhotos(static_cast<unsigned>(std::max<size_t>(nPhotos, 1))), m_bAlign(bAlign)
{
    using namespace progress_cost;
    const double mp = megapixels > 0 ? megapixels : kUnknownMegapixels;
    if (m_bAlign) {
        m_pairs = kPair * (m_nPhotos - 1);
        m_optimiser = kOptimiser;
        m_remap = kRemapPerMegapixel * mp * m_nPhotos;
    }
    m_load = kLoadPerMegapixel * mp * m_nPhotos;
    m_blend = BlendPerLoad(m_bAlign) * m_load;
    m_total = m_pairs + m_optimiser + m_remap + m_load + m_blend;
}

void CToolProgress::BeginAlign(double now)
{
    m_tool = ETool::Align;
    m_pending.clear();
    m_detail = {EProgressStage::AlignPairs, 1, std::max(m_nPhotos - 1, 1u)};
    Update(now);
}

void CToolProgress::BeginFuse(double now, bool bAlignedImages)
{
    m_tool = ETool::Fuse;
    // The blending's share stays as planned; its pace follows what enfuse reads.
    m_blendPerLoad = BlendPerLoad(bAlignedImages);
    m_pending.clear();
    m_nPairLines = m_nPhotos - 1;
    m_nMatchLines = progress_cost::kMatchLinesPerPair * (m_nPhotos - 1);
    m_bOptimised = true;
    m_nRemapLines = 3 * m_nPhotos;
    m_detail = {EProgressStage::FuseLoad, 1, m_nPhotos};
    Update(now);
}

void CToolProgress::Feed(std::string_view bytes, double now)
{
    for (const char c : bytes) {
        if (c != '\n') {
            if (c != '\r' && m_pending.size() < 4096) // a line that long names nothing counted
                m_pending.push_back(c);
            continue;
        }
        Line(m_pending, now);
        m_pending.clear();
    }
    Update(now);
}

void CToolProgress::Tick(double now)
{
    Update(now);
}

void CToolProgress::Finish(bool bFused)
{
    m_bEnded = true;
    m_tool = ETool::None;
    if (bFused)
        m_fraction = 1.0;
    m_detail = {EProgressStage::Done, 0, 0};
}

void CToolProgress::Line(std::string_view line, double now)
{
    if (m_tool == ETool::Align)
        AlignLine(line);
    else if (m_tool == ETool::Fuse && line.find("info: loading next image: ") != std::string_view::npos)
        FuseLine(now);
}

// Per photo pair "Creating control points between a and b", then a line "Number of good matches"
// for each cell of the grid; "Optimizing Variables" once or more; then per photo "loading",
// "remapping", "saving".
void CToolProgress::AlignLine(std::string_view line)
{
    const unsigned nPairs = std::max(m_nPhotos - 1, 1u);
    if (StartsWith(line, "Creating control points between ")) {
        m_nPairLines = std::min(m_nPairLines + 1, nPairs);
        m_detail = {EProgressStage::AlignPairs, std::max(m_nPairLines, 1u), nPairs};
    } else if (StartsWith(line, "Number of good matches")) {
        ++m_nMatchLines;
    } else if (StartsWith(line, "Optimizing Variables")) {
        m_nMatchLines = progress_cost::kMatchLinesPerPair * nPairs; // the pairs are done
    } else if (StartsWith(line, "loading ") || StartsWith(line, "remapping ") ||
               StartsWith(line, "saving ")) {
        m_bOptimised = true;
        m_nMatchLines = progress_cost::kMatchLinesPerPair * nPairs;
        ++m_nRemapLines;
        if (StartsWith(line, "remapping "))
            m_nRemapped = std::min(m_nRemapped + 1, m_nPhotos);
        m_detail = {EProgressStage::AlignRemap, std::max(m_nRemapped, 1u), m_nPhotos};
    }
}

// "enfuse: info: loading next image: <file> 1/1" before each photo is loaded.
void CToolProgress::FuseLine(double now)
{
    if (m_nLoads == 0)
        m_firstLoad = now;
    m_lastLoad = now;
    m_nLoads = std::min(m_nLoads + 1, m_nPhotos);
    m_detail = {EProgressStage::FuseLoad, m_nLoads, m_nPhotos};
}

void CToolProgress::Update(double now)
{
    if (m_bEnded)
        return;
    double done = 0;
    if (m_bAlign) {
        const unsigned nPairs = m_nPhotos - 1;
        done += m_pairs * Share(m_nMatchLines, progress_cost::kMatchLinesPerPair * nPairs);
        done += m_bOptimised ? m_optimiser : 0;
        done += m_remap * Share(m_nRemapLines, 3.0 * m_nPhotos);
    }
    done += m_load * Share(m_nLoads, m_nPhotos);
    if (m_nLoads == m_nPhotos && m_tool == ETool::Fuse) {
        // The loads took as long as the first ones did each; the blending follows the last.
        const double perLoad = m_nPhotos > 1 ? (m_lastLoad - m_firstLoad) / (m_nPhotos - 1) : 0;
        const double blendStart = m_lastLoad + perLoad;
        const double blendTime = m_blendPerLoad * perLoad * m_nPhotos;
        if (now >= blendStart && blendTime > 0) {
            m_detail = {EProgressStage::Blend, 0, 0};
            done += m_blend * Share(now - blendStart, blendTime);
        }
    }
    m_fraction = std::max(m_fraction, std::min(kHeldBelow, Share(done, m_total)));
}
} // namespace lvp
