// Folder choice through the fake OS: every branch, with Windows and Linux separators.
#include <gtest/gtest.h>

#include <functional>

#include "settings/settings_paths.h"
#include "settings/settings_store.h"
#include "tests/support/fake_os.h"
#include "tests/support/store_peer.h"

namespace lvp {
namespace {
using Strings = std::vector<std::u16string>;

// A user with C:\Users\u\Documents and C:\Users\u\AppData (no Lumivant yet), host in C:\Host.
CFakeOs WindowsUser()
{
    CFakeOs os;
    os.exe = u"C:\\Host\\host.exe";
    os.docs = u"C:\\Users\\u\\Documents";
    os.appData = u"C:\\Users\\u\\AppData";
    os.folders = {u"C:", u"C:\\cwd", u"C:\\Host", u"C:\\Users\\u\\Documents", u"C:\\Users\\u\\AppData"};
    return os;
}

CFakeOs LinuxUser()
{
    CFakeOs os;
    os.sep = u'/';
    os.maxPath = std::u16string::npos;
    os.cwd = u"/cwd";
    os.exe = u"/opt/host/host";
    os.docs = u"/home/u/Documents";
    os.appData = u"/home/u/.config";
    os.folders = {u"/", u"/cwd", u"/opt/host", u"/home/u/Documents", u"/home/u/.config"};
    return os;
}

struct Row {
    const char* name;
    bool onLinux;
    std::function<void(CFakeOs&)> tweak;
    std::u16string folder;
    std::u16string exeFolder;
    bool onCdRom;
    Strings created;
};

TEST(FolderChoiceTest, EveryBranch)
{
    const std::u16string longAppData = u"C:\\" + std::u16string(248, u'a'); // 251 characters
    const std::u16string lumivant = u"C:\\Users\\u\\AppData\\Lumivant";
    const std::u16string docs = u"C:\\Users\\u\\Documents\\";
    // clang-format off
    const Row rows[] = {
        {"Lumivant created under application data", false, [](CFakeOs&) {},
         lumivant + u"\\", u"C:\\Host\\", false, {lumivant}},
        {"Lumivant already there", false, [&](CFakeOs& os) { os.folders.insert(lumivant); },
         lumivant + u"\\", u"C:\\Host\\", false, {}},
        {"settings file beside the host, taken even if not writable", false,
         [](CFakeOs& os) { os.files.insert(u"C:\\Host\\lvp_hdr.xml"); os.readOnlyFolders.insert(u"C:\\Host"); },
         u"C:\\Host\\", u"C:\\Host\\", false, {}},
        {"host on a CD-ROM", false,
         [](CFakeOs& os) { os.exe = u"D:\\Setup\\host.exe"; os.cdRoms.insert(u"D:\\"); },
         u"D:\\Setup\\", u"D:\\Setup\\", true, {}},
        {"Lumivant cannot be created: documents, no subfolder", false,
         [](CFakeOs& os) { os.createFolderFails = true; },
         docs, u"C:\\Host\\", false, {}},
        {"a file named Lumivant is in the way", false, [&](CFakeOs& os) { os.files.insert(lumivant); },
         docs, u"C:\\Host\\", false, {}},
        {"no application-data folder", false, [](CFakeOs& os) { os.appData.clear(); },
         docs, u"C:\\Host\\", false, {}},
        {"application-data path too long for the buffers", false,
         [&](CFakeOs& os) { os.appData = longAppData; os.folders.insert(longAppData); },
         docs, u"C:\\Host\\", false, {}},
        {"neither folder: current directory", false, [](CFakeOs& os) { os.appData.clear(); os.docs.clear(); },
         u"", u"C:\\Host\\", false, {}},
        {"chosen folder not writable: host folder, untested", false,
         [&](CFakeOs& os) { os.readOnlyFolders = {lumivant, u"C:\\Host"}; },
         u"C:\\Host\\", u"C:\\Host\\", false, {lumivant}},
        {"no executable path: .\\", false,
         [](CFakeOs& os) { os.exe.clear(); os.appData.clear(); os.docs.clear(); os.readOnlyFolders.insert(u"C:\\cwd"); },
         u".\\", u".\\", false, {}},
        {"executable without a folder part", false,
         [&](CFakeOs& os) { os.exe = u"host.exe"; os.readOnlyFolders.insert(lumivant); },
         u"", u"", false, {lumivant}},
        {"documents folder already ends in a separator", false,
         [](CFakeOs& os) { os.appData.clear(); os.docs = u"C:\\"; },
         u"C:\\", u"C:\\Host\\", false, {}},
        {"linux: Lumivant under the config folder", true, [](CFakeOs&) {},
         u"/home/u/.config/Lumivant/", u"/opt/host/", false, {u"/home/u/.config/Lumivant"}},
        {"linux: on a CD-ROM, no drive letter: the whole folder is asked", true,
         [](CFakeOs& os) { os.cdRoms.insert(u"/opt/host/"); },
         u"/opt/host/", u"/opt/host/", true, {}},
        {"linux: no HOME", true,
         [](CFakeOs& os) { os.exe.clear(); os.appData.clear(); os.docs.clear(); os.readOnlyFolders.insert(u"/cwd"); },
         u"./", u"./", false, {}},
    };
    // clang-format on
    for (const Row& r : rows) {
        CFakeOs os = r.onLinux ? LinuxUser() : WindowsUser();
        r.tweak(os);
        CSettingsStore store(os);
        EXPECT_EQ(Utf8(SSettingsStorePeer::Folder(store)), Utf8(r.folder)) << r.name;
        EXPECT_EQ(Utf8(SSettingsStorePeer::ExeFolder(store)), Utf8(r.exeFolder)) << r.name;
        EXPECT_EQ(SSettingsStorePeer::ExePath(store), os.exe) << r.name;
        EXPECT_EQ(SSettingsStorePeer::IsOnCdRom(store), r.onCdRom) << r.name;
        EXPECT_EQ(os.createdFolders, r.created) << r.name;
        EXPECT_TRUE(SSettingsStorePeer::FilePath(store).empty()) << r.name;
    }
}

TEST(FolderChoiceTest, DriveRootOnlyWhenThePathHasOne)
{
    CFakeOs os = WindowsUser();
    os.cdRoms = {u"C:\\", u"C:relative"};
    EXPECT_TRUE(IsPathOnCdRom(os, u"C:\\Host\\"));
    EXPECT_TRUE(IsPathOnCdRom(os, u"C:relative"));
    EXPECT_FALSE(IsPathOnCdRom(os, u"\\\\server\\share\\"));
    EXPECT_FALSE(IsPathOnCdRom(os, u"C:"));
    EXPECT_EQ(os.driveQueries, (Strings{u"C:\\", u"C:relative", u"\\\\server\\share\\", u"C:"}));
}

TEST(FolderChoiceTest, PathHelpers)
{
    struct Row {
        std::u16string in, out;
    } rows[] = {{u"", u""}, {u"C:\\a", u"C:\\a\\"}, {u"C:\\a\\", u"C:\\a\\"}, {u"C:/a/", u"C:/a/\\"}};
    for (const Row& r : rows) {
        std::u16string p = r.in;
        AddTrailingBackslash(p, u'\\');
        EXPECT_EQ(p, r.out);
    }
    CFakeOs os = WindowsUser();
    os.files.insert(u"C:\\Host\\host.exe");
    EXPECT_FALSE(FolderExists(os, u""));
    EXPECT_FALSE(FolderExists(os, u"C:\\Host\\host.exe")); // a file is not a folder
    EXPECT_TRUE(FolderExists(os, u"C:\\Host"));
    EXPECT_TRUE(FolderExists(os, u"C:\\Host\\"));
    EXPECT_FALSE(FolderExists(os, u"C:\\Nowhere"));
    os.folders.insert(u"C:\\cwd\\sub");
    EXPECT_TRUE(FolderExists(os, u"sub")); // made absolute first

    os.createdFiles.clear();
    EXPECT_TRUE(IsFolderWritable(os, u"C:\\Host"));
    EXPECT_TRUE(IsFolderWritable(os, u""));
    os.readOnlyFolders.insert(u"C:\\Host");
    EXPECT_FALSE(IsFolderWritable(os, u"C:\\Host\\"));
    EXPECT_EQ(os.createdFiles, (Strings{u"C:\\Host\\_w_tmp.unique.tmp", u"_w_tmp.unique.tmp"}));
}
} // namespace
} // namespace lvp
