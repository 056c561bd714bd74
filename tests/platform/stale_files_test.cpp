// What a save needs to find files left by killed processes: running processes and name listings.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>

#include "platform/fs.h"
#include "platform/utf.h"
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
    // Folders alone, and an empty one removed (one that holds a file is not).
    fs::create_directory(dir.path() / "a.xml.full");
    std::ofstream(dir.path() / "a.xml.full" / "f") << "x";
    found = platform::EntriesStartingWith(dir.u16("a.xml."), true);
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, (std::vector<std::u16string>{dir.u16("a.xml.folder"), dir.u16("a.xml.full")}));
    EXPECT_TRUE(platform::RemoveFolder(dir.u16("a.xml.folder")));
    EXPECT_FALSE(platform::RemoveFolder(dir.u16("a.xml.full")));
    EXPECT_FALSE(fs::exists(dir.path() / "a.xml.folder"));
}

// The form the settings store reads back when it looks for files of ended processes, and
// names that never repeat (without any lock or state built at first use behind them).
TEST(StaleFilesTest, UniqueNamesCarryTheProcessId)
{
    std::set<std::u16string> names;
    for (int i = 0; i < 10000; ++i) {
        const std::u16string name = platform::UniqueName(u"p.", u".tmp", 0x00c0ffeeu);
        ASSERT_EQ(name.size(), 2u + 8u + 1u + 16u + 4u);
        ASSERT_EQ(name.substr(0, 11), u"p.00c0ffee-");
        ASSERT_EQ(name.find_first_not_of(u"0123456789abcdef", 11), 27u) << platform::Utf16ToUtf8(name);
        names.insert(name);
    }
    EXPECT_EQ(names.size(), 10000u);
}
} // namespace
