// Our expansion of the command-line template agrees with the system's message formatter, whose
// directives (%1!s!, %3!d!) the template's inserts follow.
#include "fusion/command_line.h"
#include "platform/win32/scoped.h"

#include <gtest/gtest.h>

#include <optional>

namespace {
std::optional<std::u16string> FormatMessageExpansion(const std::u16string& program,
                                                     const std::u16string& output, std::uint32_t nQuality)
{
    DWORD_PTR inserts[] = {
        reinterpret_cast<DWORD_PTR>(program.c_str()), reinterpret_cast<DWORD_PTR>(output.c_str()),
        static_cast<DWORD_PTR>(static_cast<LONG_PTR>(static_cast<std::int32_t>(nQuality)))};
    platform::win32::CAutoLocal<LPWSTR> text;
    DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ALLOCATE_BUFFER |
                                 FORMAT_MESSAGE_ARGUMENT_ARRAY,
                             L"\"%1!s!\" -o \"%2!s!\" --compression=%3!d!", 0, 0,
                             reinterpret_cast<LPWSTR>(text.Out()), 0, reinterpret_cast<va_list*>(inserts));
    if (n == 0 || !text)
        return std::nullopt;
    return std::u16string(reinterpret_cast<const char16_t*>(text.Get()), n);
}

TEST(CommandTemplate, OwnExpansionAgreesWithFormatMessage)
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
        auto expanded = FormatMessageExpansion(c.program, c.output, c.quality);
        ASSERT_TRUE(expanded.has_value()) << c.quality;
        EXPECT_EQ(lvp::FormatCommandHead(c.program, c.output, c.quality), *expanded);
    }
}
} // namespace
