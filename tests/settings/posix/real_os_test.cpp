// The folder choice and file services against the real Linux system, with HOME in a temp folder.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <optional>

#include "platform/fs.h"
#include "settings/settings_store.h"
#include "tests/settings/test_util.h"

namespace {
// Sets (or, with nullopt, unsets) an environment variable for one scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, std::optional<std::string> value) : m_name(name)
    {
        if (const char* old = getenv(name))
            m_old = old;
        if (value)
            setenv(name, value->c_str(), 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv()
    {
        if (m_old)
            setenv(m_name, m_old->c_str(), 1);
        else
            unsetenv(m_name);
    }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

TEST(RealOsTest, StoreChoosesTheConfigFolder)
{
    TempDir home;
    const std::string h = home.path().string();
    ScopedEnv e1("HOME", h), e2("XDG_CONFIG_HOME", std::nullopt), e3("XDG_DOCUMENTS_DIR", std::nullopt);
    fs::create_directory(home.path() / ".config");
    CSettingsStore store;
    EXPECT_EQ(Utf8(store.Folder()), h + "/.config/Lumivant/");
    EXPECT_TRUE(fs::is_directory(home.path() / ".config" / "Lumivant"));
    EXPECT_TRUE(fs::is_empty(home.path() / ".config" / "Lumivant")); // the probe is gone
    EXPECT_EQ(fs::path(Utf8(store.ExePath())), fs::read_symlink("/proc/self/exe"));
    EXPECT_EQ(Utf8(store.ExeFolder()), fs::read_symlink("/proc/self/exe").parent_path().string() + "/");
    EXPECT_FALSE(store.IsOnCdRom());
}

TEST(RealOsTest, UserFolders)
{
    TempDir home;
    const std::string h = home.path().string();
    struct Row {
        const char* name;
        std::optional<std::string> home, config, docs;
        bool makeDocuments;
        std::string appData, documents;
    } rows[] = {
        {"defaults, no Documents", h, std::nullopt, std::nullopt, false, h + "/.config", h},
        {"Documents exists", h, std::nullopt, std::nullopt, true, h + "/.config", h + "/Documents"},
        {"XDG absolute", h, "/xdg/conf", "/xdg/docs", true, "/xdg/conf", "/xdg/docs"},
        {"XDG config relative", h, "conf", std::nullopt, true, h + "/.config", h + "/Documents"},
        {"XDG config empty", h, "", std::nullopt, true, h + "/.config", h + "/Documents"},
        {"no HOME", std::nullopt, std::nullopt, std::nullopt, false, "", ""},
        {"no HOME, XDG set", std::nullopt, "/xdg/conf", "/xdg/docs", false, "/xdg/conf", "/xdg/docs"},
    };
    for (const Row& r : rows) {
        std::error_code ec;
        fs::remove(home.path() / "Documents", ec);
        if (r.makeDocuments)
            fs::create_directory(home.path() / "Documents");
        ScopedEnv e1("HOME", r.home), e2("XDG_CONFIG_HOME", r.config), e3("XDG_DOCUMENTS_DIR", r.docs);
        EXPECT_EQ(Utf8(platform::AppDataFolder()), r.appData) << r.name;
        EXPECT_EQ(Utf8(platform::DocumentsFolder()), r.documents) << r.name;
    }
}

TEST(RealOsTest, FileServices)
{
    TempDir dir;
    EXPECT_EQ(platform::PathSeparator(), u'/');
    EXPECT_NE(platform::DriveType(u"/"), platform::kDriveCdRom);
    EXPECT_EQ(platform::DriveType(dir.u16("missing")), platform::kDriveNoRootDir);
    std::u16string full;
    ASSERT_TRUE(platform::FullPath(u"x", full));
    EXPECT_EQ(fs::path(Utf8(full)), fs::current_path() / "x");

    // A FIFO under the settings file's name neither blocks nor is read.
    const std::string fifo = (dir.path() / "fifo").string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(platform::OpenForReading(dir.u16("fifo")), nullptr);
    EXPECT_EQ(platform::OpenForWriting(dir.u16("fifo")), nullptr);

    WriteBytes(dir.path() / "f", "x");
    EXPECT_FALSE(platform::IsReadOnlyFile(dir.u16("f")));
    EXPECT_FALSE(platform::IsReadOnlyFile(dir.u16("missing")));
    EXPECT_FALSE(platform::IsReadOnlyFile(dir.u16()));
    chmod((dir.path() / "f").c_str(), 0444);
    EXPECT_TRUE(platform::IsReadOnlyFile(dir.u16("f")));
    EXPECT_EQ(platform::CreateNewFile(dir.u16("f")), nullptr); // exists already

    // A replace keeps the permissions of the file it replaces.
    chmod((dir.path() / "f").c_str(), 0640);
    WriteBytes(dir.path() / "g", "new");
    ASSERT_TRUE(platform::MoveReplace(dir.u16("g"), dir.u16("f")));
    EXPECT_EQ(fs::status(dir.path() / "f").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(ReadBytes(dir.path() / "f"), "new");
}
} // namespace
