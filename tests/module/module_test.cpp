// Black-box tests of the built module, loaded the way lvphost loads it.
#include "host/plugin_loader.h"
#include "platform/utf.h"
#include "resources/ids.h"
#include "resources/strings.h"
#include "tests/module/settings_sandbox.h"
#include "tests/support/file_util.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>

namespace {
using lvp::CPluginObject;
using lvp::CPluginModule;

// Every unload writes the settings file: keep it out of the way of other tests.
class CSettingsCleanup : public testing::Environment {
public:
    void SetUp() override { lvp::test::ResetSettingsFolder(); }
    void TearDown() override { std::filesystem::remove_all(lvp::test::SettingsFolder()); }
};
const testing::Environment* const g_cleanup = testing::AddGlobalTestEnvironment(new CSettingsCleanup);

std::u16string ModulePath()
{
    return platform::Utf8ToUtf16(LVP_MODULE_PATH);
}

class ModuleTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_module.Open(ModulePath())) << platform::Utf16ToUtf8(m_module.GetError());
    }
    CPluginObject& Object() { return m_module.GetObjects().at(0); }
    CPluginModule m_module;
};

TEST_F(ModuleTest, ExportsAnswerVersionTypeAndCount)
{
    EXPECT_EQ(m_module.GetVersion(), u"1.4");
    EXPECT_EQ(m_module.GetType(), 2);
    EXPECT_EQ(m_module.GetCount(), 1);
    EXPECT_EQ(m_module.GetObjects().size(), 1u);
}

TEST_F(ModuleTest, EveryIndexGivesTheSameFactory)
{
    lvp::PluginFactory first = m_module.CallGetPluginProc(0);
    ASSERT_NE(first, nullptr);
    for (std::int32_t index : {1, 2, -1, INT_MAX, INT_MIN})
        EXPECT_EQ(m_module.CallGetPluginProc(index), first) << index;
}

TEST_F(ModuleTest, ObjectsAreIndependent)
{
    lvp::PluginFactory factory = m_module.CallGetPluginProc(0);
    CPluginObject a(factory());
    CPluginObject b(factory());
    ASSERT_TRUE(a && b);
    EXPECT_NE(a.get(), b.get());
    const void *listA = nullptr, *listB = nullptr;
    a.Execute(&listA);
    b.Execute(&listB);
    ASSERT_NE(listA, listB);
    a.reset();
    EXPECT_EQ(b.GetName(), lvp::LoadModuleString(lvp::IDS_NAME));
    EXPECT_TRUE(b.Execute().empty());
}

TEST_F(ModuleTest, FreshObjectExecutesToItsEmptyList)
{
    const void *list = nullptr, *again = nullptr;
    EXPECT_TRUE(Object().Execute(&list).empty());
    ASSERT_NE(list, nullptr);
    Object().Execute(&again);
    EXPECT_EQ(again, list);
}

TEST_F(ModuleTest, QueryAnswersTrueForAnything)
{
    for (std::uint32_t value : {0u, 1u, 2u, 0x7FFFFFFFu, 0xFFFFFFFFu})
        EXPECT_TRUE(Object().Query(value)) << value;
}

// Fewer than two files are refused with a message box, which the GUI and unit tests cover.
TEST_F(ModuleTest, StartAcceptsTwoFilesOrMore)
{
    // Files that open: the command refuses the others before the dialog.
    const TempDir temp;
    const std::filesystem::path& dir = temp.path();
    std::u16string paths[3];
    for (int i = 0; i < 3; ++i) {
        const std::filesystem::path file = dir / (std::string(1, char('a' + i)) + ".jpg");
        std::ofstream(file).put('x');
        paths[i] = file.u16string();
    }
    for (size_t n : {2, 3}) {
        lvp::SelectionList selection;
        for (size_t i = 0; i < n; ++i)
            selection.push_back(paths[i].c_str());
        lvp::SStartResult r = Object().Start(nullptr, selection);
        EXPECT_EQ(r.proceed, 1) << n;
        EXPECT_EQ(r.extra1, 0);
        EXPECT_EQ(r.extra2, 0);
    }
}

TEST_F(ModuleTest, NameAndDescriptionComeFromTheStringTable)
{
    EXPECT_EQ(Object().GetName(), lvp::LoadModuleString(lvp::IDS_NAME));
    EXPECT_EQ(Object().GetDescription(), lvp::LoadModuleString(lvp::IDS_DESCRIPTION));
    EXPECT_FALSE(Object().GetDescription().empty());
}

TEST_F(ModuleTest, StringsOutliveTheObjectsAndReturnToTheModule)
{
    lvp::CWideString name = Object().GetName();
    lvp::CWideString copy = name;
    lvp::CWideString description = Object().GetDescription();
    lvp::CWideString version = m_module.CallGetPluginVersion();
    m_module.DestroyObjects();
    // Made by the module's own manager, not this binary's: the last release frees there.
    EXPECT_NE(name.GetManager(), &lvp::DefaultStringManager());
    EXPECT_EQ(name.GetManager(), version.GetManager());
    EXPECT_EQ(name.GetData(), copy.GetData());
    EXPECT_EQ(name.GetData()->nRefs, 2);
    EXPECT_EQ(name, lvp::LoadModuleString(lvp::IDS_NAME));
    EXPECT_EQ(description, lvp::LoadModuleString(lvp::IDS_DESCRIPTION));
    EXPECT_EQ(version, u"1.4");
    EXPECT_EQ(version.c_str()[version.length()], u'\0');
}

struct SFailureCase {
    const char* what;
    std::string path;
    const char* reason;
};

TEST(ModuleLoader, FailuresNameThePathAndTheReason)
{
    const TempDir temp;
    const std::filesystem::path junk = temp.path() / "junk.bin";
    std::ofstream(junk, std::ios::binary) << "not a module";
    const SFailureCase cases[] = {
        {"missing file", LVP_FAKE_DIR "/no_such_module.bin", "cannot be loaded"},
        {"not a module", junk.string(), "cannot be loaded"},
        {"missing export", LVP_FAKE_NO_PROC_PATH, "no export GetPluginProc"},
        {"unknown kind", LVP_FAKE_UNKNOWN_TYPE_PATH, "unknown plug-in type 7"},
        {"no object", LVP_FAKE_NULL_FACTORY_PATH, "object 0 could not be created"},
    };
    for (const auto& c : cases) {
        CPluginModule module;
        std::u16string path = platform::Utf8ToUtf16(c.path);
        EXPECT_FALSE(module.Open(path)) << c.what;
        std::string error = platform::Utf16ToUtf8(module.GetError());
        EXPECT_NE(error.find(c.path), std::string::npos) << c.what << ": " << error;
        EXPECT_NE(error.find(c.reason), std::string::npos) << c.what << ": " << error;
        EXPECT_TRUE(module.GetObjects().empty()) << c.what;
    }
    std::filesystem::remove(junk);
}
} // namespace
