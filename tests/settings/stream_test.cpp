// utf8_ofstream / utf8_ifstream: the bytes written per unit and number, and decoding by mark.
#include <gtest/gtest.h>

#include "settings/utf8_stream.h"
#include "tests/support/test_util.h"

namespace lvp {
namespace {
const std::string kMark = "\xEF\xBB\xBF";

TEST(Utf8OfstreamTest, EncodesEachUnitOnItsOwn)
{
    struct Row {
        std::u16string text;
        std::string bytes;
    } rows[] = {
        {u"A", "A"},
        {u"\u00E9", "\xC3\xA9"},
        {u"\u20AC", "\xE2\x82\xAC"},
        {u"\U0001F600", "\xED\xA0\xBD\xED\xB8\x80"}, // two surrogates, never a 4-byte form
        {u"\u007F\u0080\u07FF\u0800\uFFFF", "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF"},
        {u"", ""},
    };
    TempDir dir;
    for (const Row& r : rows) {
        {
            utf8_ofstream out(dir.u16("o.txt"));
            ASSERT_TRUE(out.is_open());
            out << r.text;
        }
        EXPECT_EQ(ReadBytes(dir.path() / "o.txt"), kMark + r.bytes) << Utf8(r.text);
    }
}

TEST(Utf8OfstreamTest, NumbersLineEndsAndUnits)
{
    TempDir dir;
    {
        utf8_ofstream out(dir.u16("n.txt"));
        out.m_bHex = true;
        out << int32_t{7} << int32_t{255} << int32_t{0} << int32_t{0x1234};
        out.m_bHex = false;
        out << u' ' << int32_t{-5} << u' ' << int32_t{0} << u' ' << INT32_MIN;
        out.endl() << u'\u00E9' << u"x\0y";
        EXPECT_TRUE(out.close());
        EXPECT_FALSE(out.close()); // closing twice is harmless
        out << u"ignored";
    }
    EXPECT_EQ(ReadBytes(dir.path() / "n.txt"), kMark + "07ff001234 -5 0 -2147483648\r\n\xC3\xA9x");
}

TEST(Utf8OfstreamTest, TruncatesAnExistingFileAndStaysClosedOnFailure)
{
    TempDir dir;
    WriteBytes(dir.path() / "t.txt", "old content that is longer");
    {
        utf8_ofstream out(dir.u16("t.txt"));
    }
    EXPECT_EQ(ReadBytes(dir.path() / "t.txt"), kMark);

    utf8_ofstream missing(dir.u16("no/such/folder/x.txt"));
    EXPECT_FALSE(missing.is_open());
    missing << u"text" << int32_t{1};
    missing.endl();
    EXPECT_FALSE(missing.commit());
}

TEST(Utf8IfstreamTest, DecodesByMark)
{
    struct Row {
        const char* name;
        std::string bytes;
        std::u16string text;
    } rows[] = {
        {"utf8 BMP", kMark + "\xC3\xA9\xE2\x82\xAC", u"\u00E9\u20AC"},
        {"utf8 surrogates", kMark + "\xED\xA0\xBD\xED\xB8\x80", u"\U0001F600"},
        {"4-byte form dropped",
         kMark + "A\xF0\x9F\x98\x80"
                 "B",
         u"AB"},
        {"cut sequence", kMark + "\xC3", u""},
        {"cut 3-byte", kMark + "A\xE2\x82", u"A"},
        {"lead without continuation",
         kMark + "\xC3"
                 "A",
         u"A"},
        {"stray continuation",
         kMark + "\x80"
                 "A\xBF",
         u"A"},
        {"overlong zero ends text",
         kMark + "A\xC0\x80"
                 "B",
         u"A"},
        {"only the mark", kMark, u""},
        {"utf16le", std::string("\xFF\xFE\x41\x00\x42", 5), u"A"},
        {"utf16le even", std::string("\xFF\xFE\x41\x00\xAC\x20", 6), u"A\u20AC"},
        {"utf16be", std::string("\xFE\xFF\x00\x41\x20\xAC", 6), u"A\u20AC"},
        {"utf16 mark only", std::string("\xFF\xFE\x41", 3), u""},
        {"latin1 with zero", std::string("\x41\x00\x42", 3), u"A"},
        {"latin1", "\xE9t\xE9", u"\u00E9t\u00E9"},
        {"one byte", "\xFF", u"\u00FF"},
        {"utf8 without mark", "\xC3\xA9", u"\u00C3\u00A9"},
        {"two bytes no mark", "\xFF\xFF", u"\u00FF\u00FF"},
        {"empty", "", u""},
    };
    TempDir dir;
    for (const Row& r : rows) {
        WriteBytes(dir.path() / "i.txt", r.bytes);
        std::u16string text = u"previous";
        utf8_ifstream in(dir.u16("i.txt"));
        ASSERT_TRUE(in.is_open()) << r.name;
        in >> text;
        EXPECT_EQ(text, r.text) << r.name;
    }
}

TEST(Utf8IfstreamTest, ClosedStreamLeavesTargetAlone)
{
    TempDir dir;
    std::u16string text = u"kept";
    utf8_ifstream in(dir.u16("missing.txt"));
    EXPECT_FALSE(in.is_open());
    in >> text;
    EXPECT_EQ(text, u"kept");

    utf8_ifstream folder(dir.u16()); // a folder is not a file to read
    EXPECT_FALSE(folder.is_open());
}
} // namespace
} // namespace lvp
