// Long use of the module: many load/unload cycles in one process leave handles, heap and the
// settings file as they were.
#include "host/plugin_loader.h"
#include "platform/utf.h"
#include "tests/module/settings_sandbox.h"
#include "tests/platform/process_usage.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <clocale>
#include <cstdlib>

namespace {
namespace fs = std::filesystem;
#ifdef _WIN32
constexpr int kCycles = 300;
#else
constexpr int kCycles = 1000;
#endif

std::string ReadBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(ModuleScale, LoadUnloadCyclesLeaveNothingBehind)
{
    ASSERT_FALSE(fs::exists(fs::path(LVP_TEST_EXE_DIR) / "lvp_hdr.xml"));
    const fs::path folder = lvp::test::ResetSettingsFolder();
    ASSERT_FALSE(folder.empty()) << LVP_SETTINGS_ROOT_ENV " is not set";
    fs::create_directories(folder);
    // One entry of each type: every cycle reads them all and writes them all back.
    const std::string file =
        "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Document>\r\n <Author>lvp_hdr</Author>\r\n"
        " <Version>1.3</Version>\r\n <Settings>\r\n"
        "  <c Attr=\"EnfusePath\" Type=\"string\">/opt/B\xC3\xA4ume/enfuse</c>\r\n"
        "  <c Attr=\"ShowHidden\" Type=\"bool\">true</c>\r\n"
        "  <c Attr=\"JpegQuality\" Type=\"int\">80</c>\r\n"
        "  <c Attr=\"WindowPlacement\" Type=\"bin\">007fa5</c>\r\n </Settings>\r\n</Document>\r\n";
    std::ofstream(folder / "lvp_hdr.xml", std::ios::binary) << file;

    const std::u16string path = platform::Utf8ToUtf16(LVP_MODULE_PATH);
    auto cycle = [&path] {
        lvp::CPluginModule module;
        const char* mode = std::getenv("MODE");
        if (mode && *mode == '1') { bool ok = module.Load(path); module.Unload(); return ok; }
        if (mode && *mode == '2') { std::setlocale(LC_ALL, ""); return true; }
        if (mode && *mode == '3') { bool ok = module.Load(path); module.CallGetPluginProc(0); module.Unload(); return ok; }
        const bool opened = module.Open(path); // creates the object, which loads the file
        module.Unload();                       // saves the file
        return opened;
    };
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(cycle());
    const std::size_t handles = lvp::test::OpenHandleCount();
    const std::size_t heap = lvp::test::HeapBytesInUse();
    const int n = lvp::test::RepeatCount("LVP_SCALE_MODULE_CYCLES", kCycles);
    int failed = 0;
    for (int i = 0; i < n; ++i)
        failed += cycle() ? 0 : 1;
    EXPECT_EQ(failed, 0);
    EXPECT_EQ(lvp::test::OpenHandleCount(), handles);
    const std::size_t after = lvp::test::HeapBytesInUse();
    const std::size_t perCycle = 16 + lvp::test::SanitizerBytesPerModuleLoad();
    EXPECT_LE(after, heap + perCycle * static_cast<std::size_t>(n)) << "heap before " << heap << ", after " << after;
    std::printf("%d cycles: handles %zu -> %zu, heap %zu -> %zu bytes\n", n, handles,
                lvp::test::OpenHandleCount(), heap, after);
    EXPECT_EQ(ReadBytes(folder / "lvp_hdr.xml"), file);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1); // no temporary file
    fs::remove_all(folder);
}
} // namespace
