// FormatMessageW's expansion of the command-line template agrees with our own.
#include "ui/command_line.h"
#include "ui/win32/command_template.h"

#include <gtest/gtest.h>

namespace {
TEST(CommandTemplate, FormatMessageAgreesWithOwnExpansion)
{
    const std::u16string longPath = u"C:\\" + std::u16string(20000, u'x') + u".exe";
    struct Case {
        std::u16string program, output;
        std::uint32_t quality;
    } cases[] = {
        {u"C:\\Tools\\enfuse.exe", u"D:\\Bilder\\a-c.jpg", 95},
        {u"", u"", 0},
        {u"%1!s! %2 %%", u"!d! %n %0", 100},
        {u"a\r\nb\tc", u"Bäume €", 2147483648u},
        {u"\U0001F600", u"x", 4294967295u},
        {longPath, longPath, 1},
    };
    for (const Case& c : cases) {
        auto expanded = lvp::FormatCommandTemplate(c.program, c.output, c.quality);
        ASSERT_TRUE(expanded.has_value()) << c.quality;
        EXPECT_EQ(*expanded, lvp::FormatCommandHead(c.program, c.output, c.quality));
    }
}
} // namespace
