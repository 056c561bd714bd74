// Where enfuse and align_image_stack are found when no path names them: PATH, the Hugin and
// enblend-enfuse folders of each install root, in that order, and the version order of folders;
// the one file that a program field's text names.
#include "fusion/alignment.h"
#include "fusion/fusion_paths.h"
#include "fusion/program_search.h"
#include "platform/utf.h"
#include "tests/fusion/lookup_os.h"

#include <gtest/gtest.h>

namespace {
using namespace lvp;

const std::u16string kX64 = u"C:\\Program Files", kX86 = u"C:\\Program Files (x86)";

TEST(FindInstalledProgram, PathThenHuginThenEnblendFoldersOfEachRoot)
{
    struct Case {
        const char* name;
        std::map<std::u16string, std::u16string> onPath;
        std::set<std::u16string> files, folders;
        std::u16string enfuse, align; // what is found for each
    } cases[] = {
        {"Hugin x64",
         {},
         {kX64 + u"\\Hugin\\bin\\enfuse.exe", kX64 + u"\\Hugin\\bin\\align_image_stack.exe"},
         {},
         kX64 + u"\\Hugin\\bin\\enfuse.exe",
         kX64 + u"\\Hugin\\bin\\align_image_stack.exe"},
        {"Hugin x86", {}, {kX86 + u"\\Hugin\\bin\\enfuse.exe"}, {}, kX86 + u"\\Hugin\\bin\\enfuse.exe", u""},
        {"both Hugins: the first root's",
         {},
         {kX86 + u"\\Hugin\\bin\\enfuse.exe", kX64 + u"\\Hugin\\bin\\enfuse.exe"},
         {},
         kX64 + u"\\Hugin\\bin\\enfuse.exe",
         u""},
        {"PATH before Hugin",
         {{u"enfuse.exe", u"D:\\Tools\\enfuse.exe"}},
         {u"D:\\Tools\\enfuse.exe", kX64 + u"\\Hugin\\bin\\enfuse.exe"},
         {},
         u"D:\\Tools\\enfuse.exe",
         u""},
        {"a PATH entry that does not open is passed over",
         {{u"enfuse.exe", u"D:\\Gone\\enfuse.exe"}},
         {kX86 + u"\\Hugin\\bin\\enfuse.exe"},
         {},
         kX86 + u"\\Hugin\\bin\\enfuse.exe",
         u""},
        {"enblend-enfuse folders: newest version first, bin or not",
         {},
         {kX64 + u"\\enblend-enfuse-4.2\\bin\\enfuse.exe", kX64 + u"\\enblend-enfuse-4.10\\enfuse.exe",
          kX64 + u"\\enblend-enfuse-4.9\\bin\\enfuse.exe"},
         {kX64 + u"\\enblend-enfuse-4.2", kX64 + u"\\enblend-enfuse-4.10", kX64 + u"\\enblend-enfuse-4.9",
          kX64 + u"\\enblend-enfuse-5.0"},
         kX64 + u"\\enblend-enfuse-4.10\\enfuse.exe",
         u""},
        {"Hugin under any root before an enblend-enfuse folder",
         {},
         {kX64 + u"\\enblend-enfuse-4.2\\bin\\enfuse.exe", kX86 + u"\\Hugin\\bin\\enfuse.exe"},
         {kX64 + u"\\enblend-enfuse-4.2"},
         kX86 + u"\\Hugin\\bin\\enfuse.exe",
         u""},
        {"enblend-enfuse under the second root",
         {},
         {kX86 + u"\\enblend-enfuse-4.2-win32\\bin\\enfuse.exe"},
         {kX86 + u"\\enblend-enfuse-4.2-win32", kX64 + u"\\enblend-enfuse-4.2-win64"},
         kX86 + u"\\enblend-enfuse-4.2-win32\\bin\\enfuse.exe",
         u""},
        {"a folder named like the program does not count",
         {},
         {},
         {kX64 + u"\\Hugin\\bin\\enfuse.exe"},
         u"",
         u""},
        {"nothing anywhere", {}, {}, {kX64 + u"\\enblend-enfuse-4.2"}, u"", u""},
    };
    for (const Case& c : cases) {
        CLookupOs os;
        os.roots = {kX64, kX86};
        os.onPath = c.onPath;
        os.files = c.files;
        os.folders = c.folders;
        EXPECT_EQ(FindInstalledProgram(u"enfuse", os), c.enfuse) << c.name;
        EXPECT_EQ(FindInstalledProgram(u"align_image_stack", os), c.align) << c.name;
    }
}

// The command's proposal and the alignment program, on top of the search.
TEST(FindInstalledProgram, TheCommandAndTheAlignmentUseIt)
{
    CLookupOs os;
    os.cwd = u"C:\\Users\\u\\Desktop";
    os.roots = {kX64, kX86};
    // Nothing: the current folder's guess, which OK then reports missing.
    EXPECT_EQ(LocateFusionProgram(u"", os), u"C:\\Users\\u\\Desktop\\enfuse.exe");
    os.files = {kX86 + u"\\Hugin\\bin\\enfuse.exe", kX86 + u"\\Hugin\\bin\\align_image_stack.exe"};
    EXPECT_EQ(LocateFusionProgram(u"D:\\gone\\enfuse.exe", os), kX86 + u"\\Hugin\\bin\\enfuse.exe");
    // The stored path and the current folder come first.
    os.files.insert(u"D:\\mine\\enfuse.exe");
    EXPECT_EQ(LocateFusionProgram(u"D:\\mine\\enfuse.exe", os), u"D:\\mine\\enfuse.exe");
    os.files.insert(u"C:\\Users\\u\\Desktop\\enfuse.exe");
    EXPECT_EQ(LocateFusionProgram(u"", os), u"C:\\Users\\u\\Desktop\\enfuse.exe");
    // The alignment program beside the chosen enfuse first, else the same search.
    EXPECT_EQ(LocateAlignProgram(u"D:\\mine\\enfuse.exe", os), kX86 + u"\\Hugin\\bin\\align_image_stack.exe");
    os.files.insert(u"D:\\mine\\align_image_stack.exe");
    EXPECT_EQ(LocateAlignProgram(u"D:\\mine\\enfuse.exe", os), u"D:\\mine\\align_image_stack.exe");

    // POSIX: no install roots; PATH alone.
    CLookupOs posix;
    posix.sep = u'/';
    posix.suffix.clear();
    posix.onPath[u"align_image_stack"] = u"/usr/bin/align_image_stack";
    posix.files = {u"/usr/bin/align_image_stack"};
    EXPECT_EQ(LocateAlignProgram(u"/opt/enfuse", posix), u"/usr/bin/align_image_stack");
    EXPECT_EQ(FindInstalledProgram(u"enfuse", posix), u"");
    EXPECT_EQ(posix.opened,
              (std::vector<std::u16string>{u"/opt/align_image_stack", u"/usr/bin/align_image_stack"}));
}

// The program field's text to the one file that OK checks and the run starts.
TEST(ResolveProgram, FullPathAsWrittenRelativeCompletedBareNameSearched)
{
    CLookupOs win;
    win.cwd = u"C:\\Work";
    win.roots = {kX64};
    win.onPath[u"enfuse.exe"] = u"D:\\Tools\\enfuse.exe";
    const std::u16string huginAlign = kX64 + u"\\Hugin\\bin\\align_image_stack.exe";
    win.files = {u"C:\\Work\\enfuse.exe", u"D:\\Tools\\enfuse.exe", huginAlign};
    CLookupOs posix;
    posix.sep = u'/';
    posix.suffix.clear();
    posix.cwd = u"/home/u";
    posix.onPath[u"enfuse"] = u"/usr/bin/enfuse";
    posix.files = {u"/home/u/enfuse", u"/usr/bin/enfuse"};
    struct Case {
        const char* name;
        const CLookupOs& os;
        std::u16string text, want;
    } cases[] = {
        {"empty", win, u"", u""},
        {"a full path, whether it opens or not", win, u"E:\\gone\\enfuse.exe", u"E:\\gone\\enfuse.exe"},
        {"a full path keeps its slashes", win, u"C:/Tools/enfuse.exe", u"C:/Tools/enfuse.exe"},
        {"a share", win, u"\\\\srv\\bin\\enfuse.exe", u"\\\\srv\\bin\\enfuse.exe"},
        {"relative, with a separator", win, u"tools\\enfuse.exe", u"C:\\Work\\tools\\enfuse.exe"},
        {"relative, in the current folder", win, u".\\enfuse.exe", u"C:\\Work\\.\\enfuse.exe"},
        {"a drive's current folder", win, u"C:enfuse.exe", u"C:\\Work\\enfuse.exe"},
        {"bare: PATH's, not the current folder's", win, u"enfuse.exe", u"D:\\Tools\\enfuse.exe"},
        {"bare: the installers' folders", win, u"align_image_stack.exe", huginAlign},
        {"bare: by that very name", win, u"enfuse", u""},
        {"bare, found nowhere", win, u"other.exe", u""},
        {"POSIX: a full path", posix, u"/opt/../usr/bin/enfuse", u"/opt/../usr/bin/enfuse"},
        {"POSIX: relative", posix, u"bin/enfuse", u"/home/u/bin/enfuse"},
        {"POSIX: bare, PATH's", posix, u"enfuse", u"/usr/bin/enfuse"},
        {"POSIX: a backslash separates nothing", posix, u"bin\\enfuse", u""},
        {"POSIX: no drives", posix, u"C:enfuse", u""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ResolveProgram(c.text, c.os), c.want) << c.name;
    win.cwdOk = false; // the current folder's path cannot be had: nothing relative resolves
    EXPECT_EQ(ResolveProgram(u"tools\\enfuse.exe", win), u"");
    EXPECT_EQ(ResolveProgram(u"D:\\Tools\\enfuse.exe", win), u"D:\\Tools\\enfuse.exe");
}

TEST(IsNewerVersionName, NumbersCompareAsNumbers)
{
    struct Case {
        std::u16string a, b;
        bool bNewer;
    } cases[] = {
        {u"enblend-enfuse-4.10", u"enblend-enfuse-4.2", true},
        {u"enblend-enfuse-4.2", u"enblend-enfuse-4.10", false},
        {u"enblend-enfuse-5.0", u"enblend-enfuse-4.99", true},
        {u"enblend-enfuse-4.2", u"enblend-enfuse", true},
        {u"enblend-enfuse", u"enblend-enfuse-4.2", false},
        {u"enblend-enfuse-4.2-win64", u"enblend-enfuse-4.2", true},
        {u"Enblend-Enfuse-4.3", u"enblend-enfuse-4.2", true},   // case does not decide
        {u"enblend-enfuse-4.02", u"enblend-enfuse-4.2", false}, // equal as numbers: by character
        {u"enblend-enfuse-4.2", u"enblend-enfuse-4.02", true},
        {u"enblend-enfuse-100000000000000000000", u"enblend-enfuse-99999999999999999999", true},
        {u"enblend-enfuse-4.2", u"enblend-enfuse-4.2", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsNewerVersionName(c.a, c.b), c.bNewer)
            << platform::Utf16ToUtf8(c.a) << " vs " << platform::Utf16ToUtf8(c.b);
}
} // namespace
