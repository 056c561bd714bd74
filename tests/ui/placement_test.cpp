// Where the dialog opens on one or several monitors.
#include "ui/framework/placement.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {
using namespace lvp;

// A primary 1920x1080 with a task bar along its bottom, a second one of the same size to its
// right, a smaller one to its left and one above.
const std::vector<SMonitorArea> kMonitors = {
    {{0, 0, 1920, 1080}, {0, 0, 1920, 1040}},
    {{1920, 0, 3840, 1080}, {1920, 0, 3840, 1080}},
    {{-1600, 0, 0, 900}, {-1600, 0, 0, 900}},
    {{0, -1080, 1920, 0}, {0, -1080, 1920, 0}},
};

TEST(Placement, CentredOverOwnerInsideItsMonitorsWorkArea)
{
    struct Case {
        const char* name;
        std::optional<SRect> owner;
        SPoint cursor;
        int cx, cy;
        SPoint expected;
    };
    const Case cases[] = {
        {"owner on the primary", SRect{100, 100, 1100, 800}, {}, 600, 400, {300, 250}},
        {"owner on the monitor to the right", SRect{2200, 100, 3200, 800}, {}, 600, 400, {2400, 250}},
        {"owner on the monitor to the left", SRect{-1500, 100, -500, 700}, {}, 600, 400, {-1300, 200}},
        {"owner on the monitor above", SRect{200, -900, 1200, -200}, {}, 600, 400, {400, -750}},
        // Straddling: the monitor of the owner's centre takes the whole dialog.
        {"straddling, centre on the right", SRect{1500, 100, 2700, 800}, {}, 600, 400, {1920, 250}},
        {"straddling, centre on the primary", SRect{1300, 100, 2100, 800}, {}, 600, 400, {1320, 250}},
        // Off the bottom: the centre over the task bar still belongs to the primary, whose work
        // area ends above the task bar.
        {"partly below the screen", SRect{300, 700, 1300, 1400}, {}, 600, 400, {500, 640}},
        {"centre beyond the right edge", SRect{3500, 200, 4500, 900}, {}, 600, 400, {3240, 350}},
        {"centre beyond the left edge", SRect{-2200, 300, -1400, 700}, {}, 600, 400, {-1600, 300}},
        {"larger than the work area", SRect{100, 100, 1100, 800}, {}, 2000, 1200, {0, 0}},
        {"larger, on the monitor to the right", SRect{2200, 100, 3200, 800}, {}, 2000, 1200, {1920, 0}},
        {"wider only", SRect{-1500, 100, -500, 700}, {}, 1700, 400, {-1600, 200}},
        // No owner: over the work area of the monitor under the cursor.
        {"no owner, cursor on the primary", std::nullopt, {500, 500}, 600, 400, {660, 320}},
        {"no owner, cursor on the right", std::nullopt, {2500, 500}, 600, 400, {2580, 340}},
        {"no owner, cursor on the left", std::nullopt, {-800, 300}, 600, 400, {-1100, 250}},
        {"no owner, cursor off every monitor", std::nullopt, {5000, 5000}, 600, 400, {2580, 340}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const SPoint at = PlaceDialog(c.owner, c.cursor, kMonitors, c.cx, c.cy);
        EXPECT_EQ(at.x, c.expected.x);
        EXPECT_EQ(at.y, c.expected.y);
    }
}

TEST(Placement, WithoutMonitorsCentredOverTheOwner)
{
    EXPECT_EQ(PlaceDialog(SRect{2200, 100, 3200, 800}, {}, {}, 600, 400), (SPoint{2400, 250}));
    EXPECT_EQ(PlaceDialog(std::nullopt, {}, {}, 600, 400), (SPoint{0, 0}));
}
} // namespace
