// Where a dialog opens: over its owner, inside the work area of the owner's monitor.
#pragma once
#include "ui/framework/backend.h"

#include <optional>
#include <span>

namespace lvp {
struct SPoint {
    int x = 0, y = 0;
    bool operator==(const SPoint&) const = default;
};

// One monitor in virtual-screen coordinates: all of it, and the part that windows may use
// (without task bars and docked tool windows).
struct SMonitorArea {
    SRect monitor;
    SRect work;
};

// The top-left corner of a cx-by-cy dialog. It is centred over the owner's rectangle (no owner:
// over the work area of the monitor under the cursor), then moved to lie inside the work area of
// the monitor that holds the owner's centre (none holds it: the nearest one). A dialog larger
// than that area starts at its top-left corner. Without monitors it stays centred.
SPoint PlaceDialog(const std::optional<SRect>& owner, SPoint cursor, std::span<const SMonitorArea> monitors,
                   int cx, int cy);
} // namespace lvp
