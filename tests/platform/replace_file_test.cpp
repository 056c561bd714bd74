// Replacing a file through a temporary with each file operation failing in turn: which step is
// reported (the settings file falls back to writing in place only when nothing was written), the
// target as it was, and no temporary left.
#include <gtest/gtest.h>

#include "platform/replace_file.h"
#include "tests/support/fault_os.h"

#include <set>
#include <string_view>

namespace {
using platform::EReplaced;

TEST(ReplaceThroughTemporary, EachFailingStepIsReportedAndLeavesTheTarget)
{
    const struct {
        long failAt; // counted call of CFaultOs that fails, -1 none
        bool shortWrite;
        const char* failed;
        EReplaced outcome;
    } cases[] = {
        {-1, true, "", EReplaced::Done},
        {0, true, "create unique", EReplaced::NotCreated},
        {1, true, "short write", EReplaced::NotWritten},
        {1, false, "no space", EReplaced::NotWritten},
        {2, true, "flush", EReplaced::NotWritten},
        {3, true, "close", EReplaced::NotWritten},
        {4, true, "replace", EReplaced::NotMoved},
    };
    TempDir dir;
    CFaultOs os(dir);
    const std::string_view fresh = "the new content";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.failed);
        WriteBytes(dir.path() / "target", "old");
        os.calls = 0;
        os.failAt = c.failAt;
        os.shortWrite = c.shortWrite;
        os.failed.clear();
        const EReplaced outcome = platform::ReplaceThroughTemporary(
            os, dir.u16("target"), dir.u16("target."), u".tmp",
            std::span(reinterpret_cast<const uint8_t*>(fresh.data()), fresh.size()));
        EXPECT_EQ(outcome, c.outcome);
        EXPECT_EQ(os.failed, c.failed);
        EXPECT_EQ(ReadBytes(dir.path() / "target"), outcome == EReplaced::Done ? fresh : "old");
        std::set<std::string> names;
        for (const auto& e : fs::directory_iterator(dir.path()))
            names.insert(e.path().filename().string());
        EXPECT_EQ(names, std::set<std::string>{"target"}) << "no temporary is left";
    }
}
} // namespace
