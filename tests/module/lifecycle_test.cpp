// The settings file across whole loads of the module: read per object, written once at unload.
#include "host/plugin_loader.h"
#include "platform/utf.h"
#include "tests/module/settings_sandbox.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {
namespace fs = std::filesystem;

std::string ReadBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// A settings file in the layout the store writes, with the given entry lines.
std::string SettingsFile(const std::vector<std::string>& entries)
{
    std::string text = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Document>\r\n"
                       " <Author>lvp_hdr</Author>\r\n <Version>1.3</Version>\r\n <Settings>\r\n";
    for (const auto& e : entries)
        text += e + "\r\n";
    return text + " </Settings>\r\n</Document>\r\n";
}

std::string Entry(const std::string& key, const std::string& type, const std::string& value)
{
    return "  <c Attr=\"" + key + "\" Type=\"" + type + "\">" + value + "</c>";
}

class LifecycleTest : public testing::Test {
protected:
    void SetUp() override
    {
        // A settings file beside the host executable would win the folder choice.
        ASSERT_FALSE(fs::exists(fs::path(LVP_TEST_EXE_DIR) / "lvp_hdr.xml"));
        m_folder = lvp::test::ResetSettingsFolder();
        ASSERT_FALSE(m_folder.empty()) << LVP_SETTINGS_ROOT_ENV " is not set";
        m_file = m_folder / "lvp_hdr.xml";
    }
    void TearDown() override { fs::remove_all(m_folder); }

    static std::u16string ModulePath() { return platform::Utf8ToUtf16(LVP_MODULE_PATH); }
    // Loads the module with no object, so the file is not read.
    void LoadBare(lvp::CPluginModule& module)
    {
        ASSERT_TRUE(module.Load(ModulePath())) << platform::Utf16ToUtf8(module.GetError());
    }
    lvp::CPluginObject NewObject(lvp::CPluginModule& module)
    {
        return lvp::CPluginObject(module.CallGetPluginProc(0)());
    }

    fs::path m_folder;
    fs::path m_file;
};

TEST_F(LifecycleTest, CleanFolderGetsTheEmptyFileAfterOneObject)
{
    lvp::CPluginModule module;
    ASSERT_TRUE(module.Open(ModulePath())) << platform::Utf16ToUtf8(module.GetError());
    EXPECT_FALSE(fs::exists(m_file)); // nothing before unload
    module.Unload();
    ASSERT_TRUE(fs::exists(m_file));
    EXPECT_EQ(fs::file_size(m_file), 147u);
    EXPECT_EQ(ReadBytes(m_file), SettingsFile({}));
}

TEST_F(LifecycleTest, LoadWithoutObjectWritesNothing)
{
    fs::create_directories(m_folder);
    const std::string file = SettingsFile({Entry("JpegQuality", "int", "90")});
    for (bool present : {false, true}) {
        if (present)
            WriteBytes(m_file, file);
        lvp::CPluginModule module;
        LoadBare(module);
        module.Unload();
        EXPECT_EQ(fs::exists(m_file), present);
        EXPECT_EQ(present ? ReadBytes(m_file) : std::string(), present ? file : std::string());
    }
}

TEST_F(LifecycleTest, EntriesSurviveALoadUnchanged)
{
    fs::create_directories(m_folder);
    // Strings, booleans, integers, binaries: one entry each, so the order is fixed.
    const std::string file =
        SettingsFile({Entry("EnfusePath", "string", "/opt/B\xC3\xA4ume/enfuse __&lt;__1__&gt;__"),
                      Entry("ShowHidden", "bool", "true"), Entry("JpegQuality", "int", "80"),
                      Entry("WindowPlacement", "bin", "007fa5")});
    WriteBytes(m_file, file);
    for (int run = 0; run < 2; ++run) {
        lvp::CPluginModule module;
        ASSERT_TRUE(module.Open(ModulePath()));
        module.Unload();
        EXPECT_EQ(ReadBytes(m_file), file) << "after load " << run + 1;
    }
}

TEST_F(LifecycleTest, TwoObjectsMergeTwiceAndWriteOnce)
{
    fs::create_directories(m_folder);
    const std::string first =
        SettingsFile({Entry("ShowHidden", "bool", "true"), Entry("JpegQuality", "int", "90")});
    const std::string second = SettingsFile({Entry("JpegQuality", "int", "80")});
    lvp::CPluginModule module;
    LoadBare(module);
    WriteBytes(m_file, first);
    auto a = NewObject(module);
    WriteBytes(m_file, second);
    auto b = NewObject(module);
    ASSERT_TRUE(a && b);
    a.reset();
    b.reset();
    EXPECT_EQ(ReadBytes(m_file), second); // still untouched with both objects gone
    module.Unload();
    // The first file's boolean stayed in memory; the second file's integer replaced the first's.
    EXPECT_EQ(ReadBytes(m_file),
              SettingsFile({Entry("ShowHidden", "bool", "true"), Entry("JpegQuality", "int", "80")}));
}
} // namespace
