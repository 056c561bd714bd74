// The command's path rules: the proposed output name and the search for the fusion program.
#include "fusion/fusion_paths.h"
#include "platform/utf.h"
#include "tests/fusion/lookup_os.h"
#include "tests/support/test_util.h"

#include <gtest/gtest.h>

namespace {
using namespace lvp;

TEST(ProposeOutputName, FolderAndExtensionOfTheFirstNamesOfBoth)
{
    struct Case {
        std::u16string first, last, want;
    } cases[] = {
        {u"C:\\Bilder\\Serie\\IMG_4711.JPG", u"C:\\Bilder\\Serie\\IMG_4713.JPG",
         u"C:\\Bilder\\Serie\\IMG_4711-IMG_4713.JPG"},
        {u"D:\\Fotos\\a.tif", u"E:\\Andere\\b.jpg", u"D:\\Fotos\\a-b.tif"},
        {u"C:\\x\\bild.1.jpg", u"C:\\x\\bild.3.jpg", u"C:\\x\\bild.1-bild.3.jpg"},
        {u"a.jpg", u"b.jpg", u"a-b.jpg"},
        // A name without ".": all name, no extension; a "." in the folder is no extension.
        {u"C:\\my.dir\\a", u"C:\\my.dir\\b", u"C:\\my.dir\\a-b"},
        {u"C:\\my.dir\\a", u"C:\\x\\b.jpg", u"C:\\my.dir\\a-b"},
        {u"C:\\x\\.hidden", u"C:\\x\\b.png", u"C:\\x\\-b.hidden"},
        {u"C:\\B\u00e4ume\\\u65e5\u672c.jpeg", u"C:\\B\u00e4ume\\\U0001F600.jpeg",
         u"C:\\B\u00e4ume\\\u65e5\u672c-\U0001F600.jpeg"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ProposeOutputName(c.first, c.last, u"\\"), c.want) << platform::Utf16ToUtf8(c.want);
        // The same with the other separator.
        auto slash = [](std::u16string s) {
            for (char16_t& ch : s)
                ch = ch == u'\\' ? u'/' : ch;
            return s;
        };
        EXPECT_EQ(ProposeOutputName(slash(c.first), slash(c.last), u"/"), slash(c.want));
    }
}

TEST(LocateFusionProgram, StoredFileElseCurrentFolderElseSearchPath)
{
    CLookupOs os;
    os.files = {u"C:\\Tools\\enfuse.exe", u"/usr/bin/enfuse"};
    os.cwd = u"C:\\Work";
    EXPECT_EQ(LocateFusionProgram(u"C:\\Tools\\enfuse.exe", os), u"C:\\Tools\\enfuse.exe");
    EXPECT_EQ(LocateFusionProgram(u"C:\\Tools", os), u"C:\\Work\\enfuse.exe"); // a folder does not open
    EXPECT_EQ(LocateFusionProgram(u"", os), u"C:\\Work\\enfuse.exe");
    os.cwd = u"C:\\";
    EXPECT_EQ(LocateFusionProgram(u"", os), u"C:\\enfuse.exe");
    os.cwdOk = false; // the current folder's full path does not fit
    EXPECT_EQ(LocateFusionProgram(u"D:\\gone.exe", os), u".\\enfuse.exe");

    // With a search path (Linux): used only when the current folder has no program either.
    os.sep = u'/';
    os.suffix.clear();
    os.cwdOk = true;
    os.cwd = u"/home/u";
    os.onPath[u"enfuse"] = u"/usr/bin/enfuse";
    EXPECT_EQ(LocateFusionProgram(u"", os), u"/usr/bin/enfuse");
    os.files.insert(u"/home/u/enfuse");
    EXPECT_EQ(LocateFusionProgram(u"", os), u"/home/u/enfuse");
    os.files.erase(u"/home/u/enfuse");
    os.onPath.clear();
    EXPECT_EQ(LocateFusionProgram(u"", os), u"/home/u/enfuse");

    // A stored bare name is judged by the file OK would start: PATH's, never the current
    // folder's (which "enfuse" opens as, relative).
    os.files.insert({u"enfuse", u"/home/u/enfuse"});
    EXPECT_EQ(LocateFusionProgram(u"enfuse", os), u"/home/u/enfuse");
    os.onPath[u"enfuse"] = u"/usr/bin/enfuse";
    EXPECT_EQ(LocateFusionProgram(u"enfuse", os), u"enfuse");
}
} // namespace
