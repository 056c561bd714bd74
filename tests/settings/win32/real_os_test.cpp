// The folder choice and file services against the real Windows system (under Wine: its prefix).
#include <gtest/gtest.h>

#include "platform/win32/windows_prelude.h"

#include "platform/fs.h"
#include "settings/settings_store.h"
#include "tests/settings/test_util.h"

namespace {
bool UnderWine()
{
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

TEST(RealOsTest, ShellFoldersAndModulePath)
{
    const std::u16string exe = platform::ExecutablePath();
    EXPECT_TRUE(exe.ends_with(u"settings_tests.exe")) << Utf8(exe);
    for (const std::u16string& folder : {platform::DocumentsFolder(), platform::AppDataFolder()}) {
        EXPECT_FALSE(folder.empty());
        EXPECT_TRUE(platform::Exists(folder)) << Utf8(folder);
    }
    EXPECT_EQ(platform::PathSeparator(), u'\\');
    EXPECT_EQ(platform::MaxPathLength(), 259u);
    EXPECT_EQ(platform::DriveType(u"C:\\"), platform::kDriveFixed);
}

TEST(RealOsTest, PathsThatDoNotFitFail)
{
    std::u16string full;
    ASSERT_TRUE(platform::FullPath(u"x", full));
    EXPECT_EQ(fs::path(full), fs::current_path() / "x");
    EXPECT_FALSE(platform::FullPath(u"C:\\" + std::u16string(300, u'a'), full));
}

TEST(RealOsTest, ReadOnlyAttribute)
{
    TempDir dir;
    WriteBytes(dir.path() / "f", "x");
    EXPECT_FALSE(platform::IsReadOnlyFile(dir.u16("f")));
    SetFileAttributesW(reinterpret_cast<const wchar_t*>(dir.u16("f").c_str()), FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(platform::IsReadOnlyFile(dir.u16("f")));
    SetFileAttributesW(reinterpret_cast<const wchar_t*>(dir.u16("f").c_str()), FILE_ATTRIBUTE_NORMAL);
}

// Only in the test prefix of Wine: on a user's machine this would make the real Lumivant folder.
TEST(RealOsTest, StoreChoosesTheApplicationDataFolder)
{
    if (!UnderWine())
        GTEST_SKIP() << "runs in Wine's test prefix only";
    CSettingsStore store;
    EXPECT_EQ(store.Folder(), platform::AppDataFolder() + u"\\Lumivant\\");
    EXPECT_TRUE(platform::Exists(store.Folder() + u"."));
    EXPECT_FALSE(platform::Exists(store.Folder() + u"_w_tmp.tmp"));
    EXPECT_EQ(store.ExeFolder() + u"settings_tests.exe", store.ExePath());
    EXPECT_FALSE(store.IsOnCdRom());
}
} // namespace
