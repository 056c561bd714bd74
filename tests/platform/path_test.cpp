// The path splitting, with each separator rule it serves: one separator, or both of Windows.
#include "platform/path.h"
#include "platform/utf.h"

#include <gtest/gtest.h>

namespace {
constexpr std::u16string_view kBothSeparators = u"\\/"; // Windows splits at either

TEST(Path, NameStemExtensionAndFolder)
{
    struct Case {
        std::u16string_view path, separators, folder, stem, ext;
    } cases[] = {
        {u"C:\\x\\bild.1.jpg", u"\\", u"C:\\x\\", u"bild.1", u".jpg"},
        {u"C:\\my.dir\\a", u"\\", u"C:\\my.dir\\", u"a", u""}, // a "." in the folder is none
        {u"C:\\x\\.hidden", u"\\", u"C:\\x\\", u"", u".hidden"},
        {u"a.jpg", u"\\", u"", u"a", u".jpg"},
        {u"/home/u/a.b/c", u"/", u"/home/u/a.b/", u"c", u""},
        {u"/x/back\\slash.tif", u"/", u"/x/", u"back\\slash", u".tif"}, // "\\" is a character on POSIX
        {u"C:/x\\y/z.png", kBothSeparators, u"C:/x\\y/", u"z", u".png"},
        {u"dir/", kBothSeparators, u"dir/", u"", u""},
        {u"", kBothSeparators, u"", u"", u""},
    };
    for (const Case& c : cases) {
        const std::string label = platform::Utf16ToUtf8(std::u16string(c.path));
        EXPECT_EQ(platform::FolderOf(c.path, c.separators), c.folder) << label;
        EXPECT_EQ(platform::StemOf(c.path, c.separators), c.stem) << label;
        EXPECT_EQ(platform::ExtensionOf(c.path, c.separators), c.ext) << label;
        EXPECT_EQ(platform::FileNameOf(c.path, c.separators).size(), c.stem.size() + c.ext.size()) << label;
    }
}

TEST(Path, ParentFolderKeepsARootsSeparator)
{
    struct Case {
        std::u16string_view path;
        bool bHasParent;
        std::u16string_view parent;
    } cases[] = {
        {u"C:\\Bilder\\a.jpg", true, u"C:\\Bilder"},
        {u"C:\\a.jpg", true, u"C:\\"},
        {u"/a.jpg", true, u"/"},
        {u"/home/a.jpg", true, u"/home"},
        {u"\\a.jpg", true, u"\\"},
        {u"a.jpg", false, u""},
        {u"C:a.jpg", false, u""},
    };
    for (const Case& c : cases) {
        std::u16string_view parent;
        EXPECT_EQ(platform::ParentFolderOf(c.path, kBothSeparators, parent), c.bHasParent);
        if (c.bHasParent) {
            EXPECT_EQ(parent, c.parent) << platform::Utf16ToUtf8(std::u16string(c.path));
        }
    }
}

TEST(Path, SeparatorComponentsAndAscii)
{
    for (auto [in, want] : {std::pair{u"C:\\x", u"C:\\x\\"}, {u"C:\\x\\", u"C:\\x\\"}, {u"", u""}}) {
        std::u16string path = in;
        platform::AppendSeparator(path, u'\\');
        EXPECT_EQ(path, want);
    }
    EXPECT_EQ(platform::PathComponents(u"\\\\srv/a\\b", kBothSeparators),
              (std::vector<std::u16string>{u"", u"", u"srv", u"a", u"b"}));
    EXPECT_TRUE(platform::IsAscii(u"C:\\PROGRA~1\\a.jpg"));
    EXPECT_FALSE(platform::IsAscii(u"B\u00e4ume"));
    EXPECT_TRUE(platform::IsAscii(u""));
}
} // namespace
