// Save through a temporary file: interrupted, failing and read-only cases; the write probe.
#include <gtest/gtest.h>

#include <stdexcept>

#include "settings/settings_paths.h"
#include "settings/settings_store.h"
#include "test_util.h"

namespace {
const std::string kOld = "\xEF\xBB\xBF<Settings><c Attr=\"JpegQuality\" Type=\"int\">70</c>";

// Real services with a switchable fault in the steps of Save.
class FaultyOs : public RedirectedOs {
public:
    using RedirectedOs::RedirectedOs;
    enum class Fault { None, KillBeforeReplace, ReplaceFails, TempUnwritable, NoTemp } fault = Fault::None;
    std::u16string unwritable; // an existing file, opened for reading, as a stream that cannot be written

    bool MoveReplace(const std::u16string& from, const std::u16string& to) const override
    {
        if (fault == Fault::KillBeforeReplace)
            throw std::runtime_error("killed");
        return fault != Fault::ReplaceFails && ForwardingOs::MoveReplace(from, to);
    }
    platform::CFile CreateNewFile(const std::u16string& p) const override
    {
        if (fault == Fault::NoTemp)
            return {};
        if (fault == Fault::TempUnwritable)
            return m_real.OpenForReading(unwritable);
        return ForwardingOs::CreateNewFile(p);
    }
};

class SaveTest : public ::testing::Test {
protected:
    SaveTest() : os(dir), file(dir.path() / "lvp_hdr.xml"), temp(dir.path() / "lvp_hdr.xml.tmp")
    {
        WriteBytes(file, kOld);
        os.unwritable = file.u16string();
    }
    TempDir dir;
    FaultyOs os;
    fs::path file, temp;
};

TEST_F(SaveTest, InterruptedBeforeTheReplaceLeavesTheOldFile)
{
    CSettingsStore store(os);
    store.Load(file.u16string());
    store.SetInt(u"JpegQuality", 50);
    os.fault = FaultyOs::Fault::KillBeforeReplace;
    EXPECT_THROW(store.Save(), std::runtime_error);
    EXPECT_EQ(ReadBytes(file), kOld);
    const std::string written = ReadBytes(temp);
    EXPECT_NE(written.find(">50</c>\r\n </Settings>\r\n</Document>\r\n"), std::string::npos);

    os.fault = FaultyOs::Fault::None; // the next save replaces the stale temporary file
    store.Save();
    EXPECT_EQ(ReadBytes(file), written);
    EXPECT_FALSE(fs::exists(temp));
}

TEST_F(SaveTest, FallbacksWriteInPlaceOrNothing)
{
    struct Row {
        const char* name;
        FaultyOs::Fault fault;
        bool written;
    } rows[] = {
        {"replace works", FaultyOs::Fault::None, true},
        {"replace fails: in place", FaultyOs::Fault::ReplaceFails, true},
        {"no temporary file: in place", FaultyOs::Fault::NoTemp, true},
        {"temporary file cut short: old file kept", FaultyOs::Fault::TempUnwritable, false},
    };
    for (const Row& r : rows) {
        WriteBytes(file, kOld);
        {
            CSettingsStore store(os);
            store.Load(file.u16string());
            store.SetInt(u"JpegQuality", 50);
            os.fault = r.fault;
        }
        os.fault = FaultyOs::Fault::None;
        const std::string bytes = ReadBytes(file);
        EXPECT_EQ(bytes.find(">50</c>") != std::string::npos, r.written) << r.name;
        if (!r.written) {
            EXPECT_EQ(bytes, kOld) << r.name;
        }
        EXPECT_FALSE(fs::exists(temp)) << r.name;
    }
}

TEST_F(SaveTest, ReadOnlyFileIsLeftAlone)
{
    fs::permissions(file, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    {
        CSettingsStore store(os);
        store.Load(file.u16string());
        EXPECT_EQ(store.GetInt(u"JpegQuality", 95), 70);
        store.SetInt(u"JpegQuality", 50);
    }
    fs::permissions(file, fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(ReadBytes(file), kOld);
    EXPECT_FALSE(fs::exists(temp));
}

TEST_F(SaveTest, MissingFolderWritesNothing)
{
    {
        CSettingsStore store(os);
        store.Load((dir.path() / "gone" / "lvp_hdr.xml").u16string());
        store.SetInt(u"JpegQuality", 50);
    }
    EXPECT_FALSE(fs::exists(dir.path() / "gone"));
}

TEST_F(SaveTest, LinkedSettingsFileIsWrittenThrough)
{
    const fs::path target = dir.path() / "real.xml";
    fs::rename(file, target);
    std::error_code ec;
    fs::create_symlink(target, file, ec);
    if (ec)
        GTEST_SKIP() << "no symbolic links here";
    {
        CSettingsStore store(os);
        store.Load(file.u16string());
        store.SetInt(u"JpegQuality", 50);
    }
    EXPECT_TRUE(fs::is_symlink(file));
    EXPECT_NE(ReadBytes(target).find(">50</c>"), std::string::npos);
}

TEST_F(SaveTest, WriteProbeNeverWritesThroughALink)
{
    const fs::path probe = dir.path() / "_w_tmp.tmp";
    const fs::path victim = dir.path() / "victim.txt";
    const CSettingsOs& real = PlatformSettingsOs();

    WriteBytes(probe, "stale probe");
    EXPECT_TRUE(IsFolderWritable(real, dir.u16()));
    EXPECT_FALSE(fs::exists(probe));

    struct Row {
        const char* name;
        bool (*plant)(const fs::path& victim, const fs::path& probe);
    } rows[] = {
        {"symbolic link",
         [](const fs::path& v, const fs::path& p) {
             std::error_code ec;
             fs::create_symlink(v, p, ec);
             return !ec;
         }},
        {"hard link",
         [](const fs::path& v, const fs::path& p) {
             std::error_code ec;
             fs::create_hard_link(v, p, ec);
             return !ec;
         }},
    };
    for (const Row& r : rows) {
        WriteBytes(victim, "precious");
        if (!r.plant(victim, probe))
            continue; // not offered by this file system
        EXPECT_TRUE(IsFolderWritable(real, dir.u16())) << r.name;
        EXPECT_EQ(ReadBytes(victim), "precious") << r.name;
        EXPECT_FALSE(fs::exists(fs::symlink_status(probe))) << r.name;
    }
}
} // namespace
