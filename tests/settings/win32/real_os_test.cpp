// The folder choice against the real Windows system (under Wine: its prefix).
#include <gtest/gtest.h>

#include "platform/win32/windows_prelude.h"

#include <filesystem>

#include "platform/os.h"
#include "settings/settings_store.h"
#include "tests/support/store_peer.h"
#include "tests/support/test_util.h"

namespace lvp {
namespace {
bool UnderWine()
{
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

// The Lumivant folder that the store makes goes with the test; one that was there stays.
struct SFolderOfTheTest {
    std::filesystem::path folder;
    bool bThere = std::filesystem::exists(folder);
    ~SFolderOfTheTest()
    {
        std::error_code ec;
        if (!bThere)
            std::filesystem::remove_all(folder, ec);
    }
};

// Only in the test prefix of Wine: on a user's machine this would make the real Lumivant folder.
TEST(RealOsTest, StoreChoosesTheApplicationDataFolder)
{
    if (!UnderWine())
        GTEST_SKIP() << "runs in Wine's test prefix only";
    const SFolderOfTheTest made{std::filesystem::path(platform::RealOs().AppDataFolder()) / "Lumivant"};
    CSettingsStore store;
    EXPECT_EQ(SSettingsStorePeer::Folder(store), platform::RealOs().AppDataFolder() + u"\\Lumivant\\");
    EXPECT_TRUE(platform::RealOs().Exists(SSettingsStorePeer::Folder(store) + u"."));
    EXPECT_FALSE(platform::RealOs().Exists(SSettingsStorePeer::Folder(store) + u"_w_tmp.tmp"));
    EXPECT_EQ(SSettingsStorePeer::ExeFolder(store) + u"settings_tests.exe",
              SSettingsStorePeer::ExePath(store));
    EXPECT_FALSE(SSettingsStorePeer::IsOnCdRom(store));
}
} // namespace
} // namespace lvp
