// Path bytes survive the UTF-16 round trip; numbers as decimal text.
#include "platform/utf.h"

#include <gtest/gtest.h>

namespace {
TEST(Utf, RoundTripsAnyBytes)
{
    const std::string samples[] = {
        "", "plain", "B\xC3\xA4ume", "\xE2\x82\xAC", "\xF0\x9F\x98\x80", "\xFF\xFE raw",
        "\xC3", "\xED\xA0\x80", "\xC0\x80", "a\x80" "b",
    };
    for (const auto& s : samples)
        EXPECT_EQ(platform::Utf16ToUtf8(platform::Utf8ToUtf16(s)), s);
    EXPECT_EQ(platform::Utf8ToUtf16("B\xC3\xA4ume"), u"Bäume");
    EXPECT_EQ(platform::Utf8ToUtf16("\xF0\x9F\x98\x80"), u"\U0001F600");
    EXPECT_EQ(platform::Utf16ToUtf8(u"\xD800"), "\xEF\xBF\xBD");
}
TEST(Utf, DecimalText)
{
    const std::pair<std::int64_t, std::u16string> cases[] = {
        {0, u"0"}, {7, u"7"}, {-1, u"-1"}, {4294967295, u"4294967295"},
        {INT64_MIN, u"-9223372036854775808"}, {INT64_MAX, u"9223372036854775807"}};
    for (const auto& [n, text] : cases)
        EXPECT_EQ(platform::DecimalText(n), text) << n;
}
} // namespace
