// The command line as the tool's C runtime reads it: CommandLineToArgvW gives back every
// argument of the argument vector, whatever backslashes and quotes the paths hold.
#include "fusion/command_line.h"
#include "platform/win32/scoped.h"

#include <shellapi.h>

#include <gtest/gtest.h>

namespace {
TEST(CommandLineParse, SystemParserGivesBackTheArguments)
{
    const struct {
        const char16_t* output;
        std::vector<std::u16string> inputs;
    } cases[] = {
        {u"C:\\Bilder\\a-c.jpg", {u"C:\\Bilder\\a.jpg", u"C:\\Bilder\\c.jpg"}},
        {u"C:\\out dir\\", {u"C:\\in dir\\", u"D:\\x.jpg"}},
        {u"\\\\server\\share\\", {u"\\\\server\\share\\a b\\\\"}},
        {u"a\"b", {u"c\\\"d", u"e\\\\\"f\\"}},
        {u"", {u"", u"-o"}},
        {u"Fotos \u5199\u771f\\Bild \U0001F600.jpg", {u"C:\\\u00e4\u00f6\u00fc\\"}},
    };
    for (const auto& c : cases) {
        const std::u16string line = lvp::BuildCommandLine(u"C:\\Tools\\enfuse.exe", c.output, 95, c.inputs);
        const auto args = lvp::BuildArgumentVector(u"C:\\Tools\\enfuse.exe", c.output, 95, c.inputs);
        int argc = 0;
        platform::win32::CAutoLocal<LPWSTR*> argv(
            CommandLineToArgvW(reinterpret_cast<LPCWSTR>(line.c_str()), &argc));
        ASSERT_TRUE(argv);
        ASSERT_EQ(static_cast<size_t>(argc), args.size());
        for (int i = 0; i < argc; ++i)
            EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(argv.Get()[i])),
                      args[static_cast<size_t>(i)])
                << i;
    }
}
} // namespace
