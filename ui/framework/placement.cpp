// The dialog's position from its owner and the monitors, without asking the window system.
#include "ui/framework/placement.h"

#include <cstdint>
#include <limits>

namespace lvp {
namespace {
// Coordinates come from the window system and may lie far off-screen; 64 bits keep the
// arithmetic exact.
std::int64_t DistanceSquared(const SRect& r, SPoint p)
{
    auto gap = [](std::int64_t v, std::int64_t lo, std::int64_t hi) {
        return v < lo ? lo - v : v >= hi ? v - hi + 1 : 0;
    };
    const std::int64_t dx = gap(p.x, r.left, r.right), dy = gap(p.y, r.top, r.bottom);
    return dx * dx + dy * dy;
}

SPoint Centre(const SRect& r)
{
    return {static_cast<int>((std::int64_t{r.left} + r.right) / 2),
            static_cast<int>((std::int64_t{r.top} + r.bottom) / 2)};
}

// The monitor that holds p, else the nearest; the first of equals (the system lists the primary
// first).
const SMonitorArea* MonitorAt(std::span<const SMonitorArea> monitors, SPoint p)
{
    const SMonitorArea* best = nullptr;
    std::int64_t bestDistance = std::numeric_limits<std::int64_t>::max();
    for (const SMonitorArea& m : monitors) {
        const std::int64_t d = DistanceSquared(m.monitor, p);
        if (d < bestDistance) {
            best = &m;
            bestDistance = d;
        }
    }
    return best;
}

// The top-left corner of a cx-by-cy window centred over area.
SPoint CentredOver(const SRect& area, int cx, int cy)
{
    return {static_cast<int>((std::int64_t{area.left} + area.right - cx) / 2),
            static_cast<int>((std::int64_t{area.top} + area.bottom - cy) / 2)};
}

// Keeps [pos, pos + size) inside [lo, hi); the low edge wins when it does not fit.
int Clamp(int pos, int size, int lo, int hi)
{
    std::int64_t p = pos;
    if (p + size > hi)
        p = std::int64_t{hi} - size;
    return static_cast<int>(p < lo ? lo : p);
}
} // namespace

SPoint PlaceDialog(const std::optional<SRect>& owner, SPoint cursor, std::span<const SMonitorArea> monitors,
                   int cx, int cy)
{
    const SMonitorArea* pMonitor = MonitorAt(monitors, owner ? Centre(*owner) : cursor);
    if (!pMonitor) // nothing to keep it inside of
        return owner ? CentredOver(*owner, cx, cy) : SPoint{};
    const SPoint at = CentredOver(owner ? *owner : pMonitor->work, cx, cy);
    const SRect& work = pMonitor->work;
    return {Clamp(at.x, cx, work.left, work.right), Clamp(at.y, cy, work.top, work.bottom)};
}
} // namespace lvp
