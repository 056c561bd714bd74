// The Windows file services against the real system (under Wine: its prefix).
#include <gtest/gtest.h>

#include <vector>

#include "platform/win32/windows_prelude.h"

#include "platform/real_os.h"
#include "platform/utf.h"
#include "tests/support/file_util.h"

namespace {
std::string Utf8(const std::u16string& text)
{
    return platform::Utf16ToUtf8(text);
}

TEST(Win32FsTest, ShellFoldersAndModulePath)
{
    const std::u16string exe = platform::RealOs().ExecutablePath();
    EXPECT_TRUE(exe.ends_with(u"platform_tests.exe")) << Utf8(exe);
    for (const std::u16string& folder :
         {platform::RealOs().DocumentsFolder(), platform::RealOs().AppDataFolder()}) {
        EXPECT_FALSE(folder.empty());
        EXPECT_TRUE(platform::RealOs().Exists(folder)) << Utf8(folder);
    }
    EXPECT_EQ(platform::RealOs().PathSeparator(), u'\\');
    EXPECT_EQ(platform::RealOs().MaxPathLength(), 259u);
    EXPECT_FALSE(platform::RealOs().IsCdRom(u"C:\\"));
}

TEST(Win32FsTest, PathsThatDoNotFitFail)
{
    std::u16string full;
    ASSERT_TRUE(platform::RealOs().FullPath(u"x", full));
    EXPECT_EQ(fs::path(full), fs::current_path() / "x");
    EXPECT_FALSE(platform::RealOs().FullPath(u"C:\\" + std::u16string(300, u'a'), full));
    class CLongPathsOs : public platform::CRealOs {
    public:
        size_t MaxPathLength() const override { return SIZE_MAX; }
    };
    ASSERT_TRUE(CLongPathsOs().FullPath(u"C:\\" + std::u16string(300, u'a'), full)); // no limit asked for
    EXPECT_EQ(full.size(), 303u);
    ASSERT_TRUE(platform::RealOs().FullPath(u".", full));
    EXPECT_EQ(fs::path(full), fs::current_path());
}

TEST(Win32FsTest, ReadOnlyAttribute)
{
    TempDir dir;
    WriteBytes(dir.path() / "f", "x");
    EXPECT_FALSE(platform::RealOs().IsReadOnlyFile(dir.u16("f")));
    SetFileAttributesW(reinterpret_cast<const wchar_t*>(dir.u16("f").c_str()), FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(platform::RealOs().IsReadOnlyFile(dir.u16("f")));
    SetFileAttributesW(reinterpret_cast<const wchar_t*>(dir.u16("f").c_str()), FILE_ATTRIBUTE_NORMAL);
}

// The programs' search along PATH: absolute folders in order, quotes dropped, relative entries
// and folders of the name passed by; a file called so (no program check on Windows).
TEST(Win32FsTest, SearchAlongPath)
{
    TempDir dir;
    for (const char* folder : {"a", "b", "c", "c/x.exe"})
        fs::create_directories(dir.path() / folder);
    WriteBytes(dir.path() / "b" / "x.exe", "MZ");
    WriteBytes(dir.path() / "a" / "y.exe", "MZ");
    std::vector<wchar_t> saved(32767);
    const DWORD nSaved = GetEnvironmentVariableW(L"PATH", saved.data(), 32767);
    const std::u16string path =
        u"relative;;\"" + dir.u16("c") + u"\";" + dir.u16("a") + u";" + dir.u16("b") + u"\\";
    SetEnvironmentVariableW(L"PATH", reinterpret_cast<const wchar_t*>(path.c_str()));
    const platform::COs& os = platform::RealOs();
    EXPECT_EQ(os.FindOnPathVariable(u"x.exe"), dir.u16("b") + u"\\x.exe");
    EXPECT_EQ(os.FindOnPathVariable(u"y.exe"), dir.u16("a") + u"\\y.exe");
    EXPECT_EQ(os.FindOnPathVariable(u"z.exe"), u"");
    EXPECT_EQ(os.FindOnPathVariable(u"b\\x.exe"), u"");
    SetEnvironmentVariableW(L"PATH", nSaved > 0 && nSaved < 32767 ? saved.data() : nullptr);
}

// The install roots from the three variables, in order: a separator at the end dropped, a root
// named again (in any case) or empty passed by.
TEST(Win32FsTest, ProgramInstallRoots)
{
    const wchar_t* names[] = {L"ProgramW6432", L"ProgramFiles", L"ProgramFiles(x86)"};
    std::vector<std::vector<wchar_t>> saved;
    std::vector<DWORD> nSaved;
    for (const wchar_t* name : names) {
        saved.emplace_back(32767);
        nSaved.push_back(GetEnvironmentVariableW(name, saved.back().data(), 32767));
    }
    struct Case {
        const wchar_t *w6432, *files, *x86;
        std::vector<std::u16string> roots;
    } cases[] = {
        {L"C:\\Program Files", L"C:\\Program Files (x86)", L"C:\\Program Files (x86)",
         {u"C:\\Program Files", u"C:\\Program Files (x86)"}},
        {L"C:\\Program Files", L"c:\\program files\\", L"D:\\Apps\\", {u"C:\\Program Files", u"D:\\Apps"}},
        {nullptr, L"C:\\Program Files", L"", {u"C:\\Program Files"}},
        {nullptr, nullptr, nullptr, {}},
        {L"C:\\", nullptr, nullptr, {u"C:\\"}},
    };
    for (const Case& c : cases) {
        SetEnvironmentVariableW(names[0], c.w6432);
        SetEnvironmentVariableW(names[1], c.files);
        SetEnvironmentVariableW(names[2], c.x86);
        EXPECT_EQ(platform::RealOs().ProgramInstallRoots(), c.roots) << c.roots.size();
    }
    for (size_t i = 0; i < 3; ++i)
        SetEnvironmentVariableW(names[i], nSaved[i] > 0 && nSaved[i] < 32767 ? saved[i].data() : nullptr);
}
} // namespace
