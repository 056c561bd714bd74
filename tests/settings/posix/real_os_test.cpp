// The folder choice against the real Linux system, with HOME in a temp folder.
#include <gtest/gtest.h>

#include "settings/settings_store.h"
#include "tests/platform/posix/scoped_env.h"
#include "tests/support/store_peer.h"
#include "tests/support/test_util.h"

namespace lvp {
namespace {
TEST(RealOsTest, StoreChoosesTheConfigFolder)
{
    TempDir home;
    const std::string h = home.path().string();
    ScopedEnv e1("HOME", h), e2("XDG_CONFIG_HOME", std::nullopt), e3("XDG_DOCUMENTS_DIR", std::nullopt);
    fs::create_directory(home.path() / ".config");
    CSettingsStore store;
    EXPECT_EQ(Utf8(SSettingsStorePeer::Folder(store)), h + "/.config/Lumivant/");
    EXPECT_TRUE(fs::is_directory(home.path() / ".config" / "Lumivant"));
    EXPECT_TRUE(fs::is_empty(home.path() / ".config" / "Lumivant")); // the probe is gone
    EXPECT_EQ(fs::path(Utf8(SSettingsStorePeer::ExePath(store))), fs::read_symlink("/proc/self/exe"));
    EXPECT_EQ(Utf8(SSettingsStorePeer::ExeFolder(store)),
              fs::read_symlink("/proc/self/exe").parent_path().string() + "/");
    EXPECT_FALSE(SSettingsStorePeer::IsOnCdRom(store));
}
} // namespace
} // namespace lvp
