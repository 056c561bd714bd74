// A folder laid out by a test among someone else's: made with its mark, gone with the test, and
// a folder of that name that is not the test's left as it was.
#include "tests/support/file_util.h"
#include "tests/support/laid_out_folder.h"

#include <gtest/gtest.h>

#include <functional>

namespace {
TEST(LaidOutFolder, TakesOnlyWhatIsTheTestsAndLeavesNothing)
{
    struct Case {
        const char* name;
        std::function<void(const fs::path&)> before; // what is there already
        bool bLaidOut;
        const char* kept; // what of the earlier one still reads "real" after ("": the place; null: nothing)
    } cases[] = {
        {"free place", [](const fs::path&) {}, true, nullptr},
        {"left by a killed run",
         [](const fs::path& p) {
             fs::create_directories(p / "bin");
             WriteBytes(p / CLaidOutFolder::kMark, "");
             WriteBytes(p / "bin" / "enfuse.exe", "fake");
         },
         true, nullptr},
        {"a real installation",
         [](const fs::path& p) {
             fs::create_directories(p / "bin");
             WriteBytes(p / "bin" / "enfuse.exe", "real");
         },
         false, "bin/enfuse.exe"},
        {"a file of that name", [](const fs::path& p) { WriteBytes(p, "real"); }, false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TempDir dir;
        const fs::path place = dir.path() / "Hugin";
        c.before(place);
        {
            const CLaidOutFolder folder(place);
            EXPECT_EQ(folder.IsLaidOut(), c.bLaidOut);
            if (folder.IsLaidOut()) {
                EXPECT_TRUE(fs::exists(place / CLaidOutFolder::kMark));
                EXPECT_FALSE(fs::exists(place / "bin")) << "an earlier run's contents are gone";
                fs::create_directories(place / "bin");
                WriteBytes(place / "bin" / "enfuse.exe", "fake");
            }
        }
        if (c.kept == nullptr)
            EXPECT_FALSE(fs::exists(place));
        else
            EXPECT_EQ(ReadBytes(*c.kept ? place / c.kept : place), "real");
    }
}

TEST(LaidOutFolder, MakesNoParentFolder)
{
    const TempDir dir;
    {
        const CLaidOutFolder folder(dir.path() / "Program Files" / "Hugin");
        EXPECT_FALSE(folder.IsLaidOut());
    }
    EXPECT_FALSE(fs::exists(dir.path() / "Program Files"));
}
} // namespace
