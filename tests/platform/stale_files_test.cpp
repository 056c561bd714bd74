// What a save needs to find files left by killed processes: running processes and name listings.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>

#include "platform/os.h"
#include "platform/temp_name.h"
#include "platform/utf.h"
#include "tests/support/file_util.h"

namespace {
TEST(StaleFilesTest, ProcessesAndListings)
{
    EXPECT_TRUE(platform::RealOs().IsProcessRunning(platform::RealOs().CurrentProcessId()));
    // Beyond any process id the systems hand out (Linux: pid_max; Windows: multiples of 4).
    EXPECT_FALSE(platform::RealOs().IsProcessRunning(0x7FFFFFF1u));
    EXPECT_FALSE(platform::RealOs().IsProcessRunning(0xFFFFFFFFu));

    TempDir dir;
    for (const char* name : {"a.xml.1.tmp", "a.xml.2.tmp", "a.xml", "b.a.xml.3.tmp"})
        std::ofstream(dir.path() / name) << "x";
    fs::create_directory(dir.path() / "a.xml.folder");
    std::vector<std::u16string> found = platform::RealOs().FilesStartingWith(dir.u16("a.xml."));
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, (std::vector<std::u16string>{dir.u16("a.xml.1.tmp"), dir.u16("a.xml.2.tmp")}));
    EXPECT_TRUE(platform::RealOs()
                    .FilesStartingWith(dir.u16("missing") + platform::RealOs().PathSeparator() + u"a")
                    .empty());

    // Folders are listed apart, and a leftover folder goes with all it holds.
    EXPECT_EQ(platform::RealOs().FoldersStartingWith(dir.u16("a.xml.")),
              (std::vector<std::u16string>{dir.u16("a.xml.folder")}));
    fs::create_directories(dir.path() / "a.xml.folder" / "inner");
    std::ofstream(dir.path() / "a.xml.folder" / "inner" / "aligned.tif") << "x";
    std::ofstream(dir.path() / "a.xml.folder" / "b.tif") << "x";
    EXPECT_TRUE(platform::RealOs().RemoveFolderTree(dir.u16("a.xml.folder")));
    EXPECT_FALSE(fs::exists(dir.path() / "a.xml.folder"));
    EXPECT_TRUE(fs::exists(dir.path() / "a.xml.1.tmp"));
    EXPECT_FALSE(platform::RealOs().RemoveFolderTree(dir.u16("a.xml.folder")));
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

// What the sweeps read back from a name: the process id, and the suffix after the chance part.
TEST(StaleFilesTest, TemporaryNamesParseBack)
{
    struct Case {
        std::u16string_view rest;
        bool bOk;
        uint32_t id;
        std::u16string_view suffix;
    } cases[] = {
        {u"00c0ffee-0123456789abcdef.tmp", true, 0x00c0ffeeu, u".tmp"},
        {u"ffffffff-0123456789abcdef", true, 0xffffffffu, u""},
        {u"0000000d-0123456789abcdef-out.jpg", true, 13, u"-out.jpg"},
        {u"00C0FFEE-0123456789abcdef.tmp", false, 0, u""}, // upper case is not ours
        {u"00c0ffee_0123456789abcdef.tmp", false, 0, u""},
        {u"00c0ffe-e0123456789abcdef.tmp", false, 0, u""},
        {u"00c0ffee-0123456789abcde", false, 0, u""},
        {u"13-1.JPG", false, 0, u""},
    };
    for (const Case& c : cases) {
        uint32_t id = 0;
        std::u16string_view suffix;
        EXPECT_EQ(platform::TemporaryNameProcess(c.rest, id, suffix), c.bOk)
            << platform::Utf16ToUtf8(std::u16string(c.rest));
        if (c.bOk) {
            EXPECT_EQ(id, c.id);
            EXPECT_EQ(suffix, c.suffix);
        }
    }
    // Every name UniqueName makes parses back to its id and suffix.
    const std::u16string made = platform::UniqueName(u"p.", u"-x.jpg", 77);
    uint32_t id = 0;
    std::u16string_view suffix;
    ASSERT_TRUE(platform::TemporaryNameProcess(std::u16string_view(made).substr(2), id, suffix));
    EXPECT_EQ(id, 77u);
    EXPECT_EQ(suffix, u"-x.jpg");
}
