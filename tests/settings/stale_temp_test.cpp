// A save removes the temporary files of saves whose process was killed, and nothing else.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "platform/os.h"
#include "settings/settings_store.h"
#include "tests/support/test_util.h"

namespace lvp {
namespace {
// Real services in which one process id counts as ended.
class CDeadProcessOs : public CRedirectedOs {
public:
    using CRedirectedOs::CRedirectedOs;
    static constexpr uint32_t kDead = 0x00012345;
    bool IsProcessRunning(uint32_t id) const override { return id != kDead && CRedirectedOs::IsProcessRunning(id); }
};

TEST(StaleTempTest, SaveRemovesOnlyTemporariesOfEndedProcesses)
{
    char own[9];
    std::snprintf(own, sizeof own, "%08x", static_cast<unsigned>(platform::RealOs().CurrentProcessId()));
    const struct Row {
        std::string name;
        bool removed;
    } rows[] = {
        {"lvp_hdr.xml.00012345-0123456789abcdef.tmp", true},
        {"lvp_hdr.xml." + std::string(own) + "-0123456789abcdef.tmp", false}, // a save under way
        {"lvp_hdr.xml.tmp", false},                                           // the user's own
        {"lvp_hdr.xml.00012345_0123456789abcdef.tmp", false},
        {"lvp_hdr.xml.00012345-0123456789abcdef.tmp.bak", false},
        {"lvp_hdr.xml.0001234-50123456789abcdef.tmp", false},
        {"lvp_hdr.xml.00012345-0123456789abcdeg.tmp", false},
        {"other.xml.00012345-0123456789abcdef.tmp", false},
    };
    TempDir dir;
    CDeadProcessOs os(dir);
    for (const Row& r : rows)
        std::ofstream(dir.path() / r.name) << "left";
    {
        CSettingsStore store(os);
        store.Load(dir.u16("lvp_hdr.xml"));
        store.SetInt(u"JpegQuality", 80);
    } // saves
    EXPECT_NE(ReadBytes(dir.path() / "lvp_hdr.xml").find("JpegQuality"), std::string::npos);
    for (const Row& r : rows)
        EXPECT_EQ(fs::exists(dir.path() / r.name), !r.removed) << r.name;
}
} // namespace
} // namespace lvp
