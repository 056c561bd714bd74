// The Linux file services against the real system, with HOME and XDG folders in a temp folder.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/real_os.h"
#include "platform/utf.h"
#include "tests/platform/posix/scoped_env.h"
#include "tests/support/file_util.h"

namespace {
std::string Utf8(const std::u16string& text)
{
    return platform::Utf16ToUtf8(text);
}

TEST(PosixFsTest, UserFolders)
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
        EXPECT_EQ(Utf8(platform::RealOs().AppDataFolder()), r.appData) << r.name;
        EXPECT_EQ(Utf8(platform::RealOs().DocumentsFolder()), r.documents) << r.name;
    }
}

TEST(PosixFsTest, FileServices)
{
    TempDir dir;
    EXPECT_EQ(platform::RealOs().PathSeparator(), u'/');
    EXPECT_FALSE(platform::RealOs().IsCdRom(u"/"));
    EXPECT_FALSE(platform::RealOs().IsCdRom(dir.u16("missing")));
    std::u16string full;
    ASSERT_TRUE(platform::RealOs().FullPath(u"x", full));
    EXPECT_EQ(fs::path(Utf8(full)), fs::current_path() / "x");
    ASSERT_TRUE(platform::RealOs().FullPath(u".", full));
    EXPECT_EQ(fs::path(Utf8(full)), fs::current_path());
    class CShortPathsOs : public platform::CRealOs {
    public:
        size_t MaxPathLength() const override { return 1; }
    };
    EXPECT_FALSE(CShortPathsOs().FullPath(u"x", full)); // longer than allowed

    // A FIFO under the settings file's name neither blocks nor is read.
    const std::string fifo = (dir.path() / "fifo").string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(platform::RealOs().OpenForReading(dir.u16("fifo")));
    EXPECT_FALSE(platform::RealOs().OpenForWriting(dir.u16("fifo")));

    WriteBytes(dir.path() / "f", "x");
    EXPECT_FALSE(platform::RealOs().IsReadOnlyFile(dir.u16("f")));
    EXPECT_FALSE(platform::RealOs().IsReadOnlyFile(dir.u16("missing")));
    EXPECT_FALSE(platform::RealOs().IsReadOnlyFile(dir.u16()));
    chmod((dir.path() / "f").c_str(), 0444);
    EXPECT_TRUE(platform::RealOs().IsReadOnlyFile(dir.u16("f")));
    EXPECT_FALSE(platform::RealOs().CreateNewFile(dir.u16("f"))); // exists already

    // A replace keeps the permissions of the file it replaces.
    chmod((dir.path() / "f").c_str(), 0640);
    WriteBytes(dir.path() / "g", "new");
    ASSERT_TRUE(platform::RealOs().MoveReplace(dir.u16("g"), dir.u16("f")));
    EXPECT_EQ(fs::status(dir.path() / "f").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(ReadBytes(dir.path() / "f"), "new");
}
} // namespace
