// What a save needs to find files left by killed processes: running processes and name listings.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "platform/fs.h"
#include "tests/platform/file_util.h"

namespace {
TEST(StaleFilesTest, ProcessesAndListings)
{
    EXPECT_TRUE(platform::IsProcessRunning(platform::CurrentProcessId()));
    // Beyond any process id the systems hand out (Linux: pid_max; Windows: multiples of 4).
    EXPECT_FALSE(platform::IsProcessRunning(0x7FFFFFF1u));
    EXPECT_FALSE(platform::IsProcessRunning(0xFFFFFFFFu));

    TempDir dir;
    for (const char* name : {"a.xml.1.tmp", "a.xml.2.tmp", "a.xml", "b.a.xml.3.tmp"})
        std::ofstream(dir.path() / name) << "x";
    fs::create_directory(dir.path() / "a.xml.folder");
    std::vector<std::u16string> found = platform::FilesStartingWith(dir.u16("a.xml."));
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, (std::vector<std::u16string>{dir.u16("a.xml.1.tmp"), dir.u16("a.xml.2.tmp")}));
    EXPECT_TRUE(platform::FilesStartingWith(dir.u16("missing") + platform::PathSeparator() + u"a").empty());
}
} // namespace
