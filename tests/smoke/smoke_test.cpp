// The texts reach both builds from one source, and path bytes survive the UTF-16 round trip.
#include "platform/utf.h"
#include "resources/strings.h"

#include <gtest/gtest.h>

namespace {
TEST(StringTable, TextsByIdAndUnknownIdEmpty)
{
    struct Case {
        unsigned id;
        std::u16string text;
    } cases[] = {
        {100, u"HDR"},
        {101, u"Funktionszusatzmodul zum Zusammenführen von Belichtungsreihen."},
        {106, u"Enfuse-Program (enfuse.exe)|enfuse.exe|Ausführbare Datei (*.exe)|*.exe||"},
        {107, u"Wählen Sie mindestens zwei Bilder aus."},
        {108, u"Das Programm \"Enfuse\" konnte nicht gefunden werden.\nStellen Sie sicher, dass das "
              u"Programm vorhanden ist und\nwählen Sie dann das Programm aus."},
        {109, u"Klicken Sie auf \"OK\", um das Fenster zu schließen."},
        {0, u""},
        {102, u""},
        {65535, u""},
        {65536 + 100, u""}, // string ids are 16 bits: no wrap-around to 100
    };
    for (const auto& c : cases)
        EXPECT_EQ(lvp::LoadModuleString(c.id), c.text) << c.id;
}

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
