// Long use of the module: many load/unload cycles in one process leave handles, heap and the
// settings file as they were.
#include "host/plugin_loader.h"
#include "platform/utf.h"
#include "tests/module/settings_sandbox.h"
#include "tests/support/process_usage.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

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

struct Usage {
    std::size_t handles = 0;
    std::size_t bytes = 0;
    std::size_t slots = 0;
};

#ifdef _WIN32
// Handles, heap bytes and thread slots a load and unload of the module at path keeps, on average over n
// cycles. For a module without any code of ours: what the toolchain's runtime alone keeps.
Usage UsagePerLoad(const std::u16string& path, int n)
{
    auto cycle = [&path] {
        lvp::CPluginModule module;
        module.Load(path);
    };
    cycle();
    const std::size_t handles = lvp::test::OpenHandleCount();
    const std::size_t bytes = lvp::test::HeapBytesInUse();
    const std::size_t slot = lvp::test::FirstFreeThreadSlot();
    for (int i = 0; i < n; ++i)
        cycle();
    const std::size_t afterHandles = lvp::test::OpenHandleCount();
    const std::size_t afterBytes = lvp::test::HeapBytesInUse();
    const std::size_t afterSlot = lvp::test::FirstFreeThreadSlot();
    const auto perLoad = [n](std::size_t before, std::size_t after) {
        return after > before ? (after - before) / static_cast<std::size_t>(n) : 0;
    };
    return {perLoad(handles, afterHandles), perLoad(bytes, afterBytes), perLoad(slot, afterSlot)};
}
#endif

TEST(ModuleScale, LoadUnloadCyclesLeaveNothingBehind)
{
    ASSERT_FALSE(fs::exists(fs::path(LVP_TEST_EXE_DIR) / "lvp_hdr.xml"));
    const fs::path folder = lvp::test::ResetSettingsFolder();
    const lvp::test::SSettingsFolderCleanup cleanup;
    ASSERT_FALSE(folder.empty()) << LVP_SETTINGS_ROOT_ENV " is not set";
    fs::create_directories(folder);
    // One entry of each type: every cycle reads them all and writes them all back.
    const std::string file =
        "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Document>\r\n "
        "<Author>lvp_hdr</Author>\r\n"
        " <Version>1.3</Version>\r\n <Settings>\r\n"
        "  <c Attr=\"EnfusePath\" Type=\"string\">/opt/B\xC3\xA4ume/enfuse</c>\r\n"
        "  <c Attr=\"ShowHidden\" Type=\"bool\">true</c>\r\n"
        "  <c Attr=\"JpegQuality\" Type=\"int\">80</c>\r\n"
        "  <c Attr=\"WindowPlacement\" Type=\"bin\">007fa5</c>\r\n </Settings>\r\n</Document>\r\n";
    std::ofstream(folder / "lvp_hdr.xml", std::ios::binary) << file;

    lvp::test::HoldHostLibraries();
    const std::u16string path = platform::Utf8ToUtf16(LVP_MODULE_PATH);
    auto cycle = [&path] {
        lvp::CPluginModule module;
        const bool opened = module.Open(path); // creates the object, which loads the file
        module.Unload();                       // saves the file
        return opened;
    };
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(cycle());
    const std::size_t handles = lvp::test::OpenHandleCount();
    const std::size_t heap = lvp::test::HeapBytesInUse();
    const std::size_t slot = lvp::test::FirstFreeThreadSlot();
    const int n = lvp::test::RepeatCount("LVP_SCALE_MODULE_CYCLES", kCycles);
    int failed = 0;
    for (int i = 0; i < n; ++i)
        failed += cycle() ? 0 : 1;
    EXPECT_EQ(failed, 0);
    const std::size_t after = lvp::test::HeapBytesInUse();
    const std::size_t afterHandles = lvp::test::OpenHandleCount();
    const std::size_t afterSlot = lvp::test::FirstFreeThreadSlot();
    EXPECT_EQ(afterHandles, handles);
    EXPECT_EQ(afterSlot, slot); // a slot kept per load runs the process out of them
    const std::size_t perCycle = 16 + lvp::test::SanitizerBytesPerModuleLoad();
    EXPECT_LE(after, heap + perCycle * static_cast<std::size_t>(n))
        << "heap before " << heap << ", after " << after;
#ifdef _WIN32
    // For comparison: the DLL of no code of ours, linked with the toolchain's runtime alone.
    const Usage runtime = UsagePerLoad(platform::Utf8ToUtf16(LVP_FAKE_ECHO_PATH), n);
#else
    const Usage runtime;
#endif
    std::printf("%d cycles: handles %zu -> %zu, heap %zu -> %zu bytes, first free thread slot %zu -> %zu "
                "(the bare runtime keeps %zu handles, %zu bytes and %zu thread slots a load)\n",
                n, handles, afterHandles, heap, after, slot, afterSlot, runtime.handles, runtime.bytes,
                runtime.slots);
    EXPECT_EQ(ReadBytes(folder / "lvp_hdr.xml"), file);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()),
              1); // no temporary file
}
} // namespace
