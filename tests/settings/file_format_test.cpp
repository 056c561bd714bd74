// The settings file: the exact bytes Save writes and what the tolerant reader makes of a text.
#include <gtest/gtest.h>

#include "settings/settings_store.h"
#include "tests/support/store_peer.h"
#include "tests/support/test_util.h"

namespace lvp {
namespace {
const std::string kHead = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Document>\r\n"
                          " <Author>lvp_hdr</Author>\r\n <Version>1.3</Version>\r\n <Settings>\r\n";
const std::string kTail = " </Settings>\r\n</Document>\r\n";

class FileFormatTest : public ::testing::Test {
protected:
    FileFormatTest() : os(dir), file(dir.path() / "lvp_hdr.xml") {}
    // Loads a file of the given bytes into store (which then saves to it when destroyed).
    void LoadBytes(CSettingsStore& store, const std::string& bytes)
    {
        WriteBytes(file, bytes);
        store.Load(file.u16string());
    }
    std::string SavedBytes(CSettingsStore& store)
    {
        store.Save();
        return ReadBytes(file);
    }
    TempDir dir;
    CRedirectedOs os;
    fs::path file;
};

TEST_F(FileFormatTest, EmptyStoreIs147Bytes)
{
    CSettingsStore store(os);
    store.Load(file.u16string());
    const std::string bytes = SavedBytes(store);
    EXPECT_EQ(bytes, kHead + kTail);
    EXPECT_EQ(bytes.size(), 147u);
}

// The focus stack's mode goes into the file and comes back; the exposure series' is no entry.
TEST_F(FileFormatTest, FusionModeRoundTrip)
{
    const struct {
        int32_t nMode;
        std::string elements;
    } cases[] = {
        {0, ""},
        {1, "  <c Attr=\"FusionMode\" Type=\"int\">1</c>\r\n"},
    };
    for (const auto& c : cases) {
        {
            CSettingsStore store(os);
            LoadBytes(store, kHead + "  <c Attr=\"FusionMode\" Type=\"int\">1</c>\r\n" + kTail);
            store.SetFusionMode(c.nMode);
            EXPECT_EQ(SavedBytes(store), kHead + c.elements + kTail) << c.nMode;
        }
        CSettingsStore store(os);
        store.Load(file.u16string());
        EXPECT_EQ(store.GetFusionMode(), c.nMode);
    }
}

TEST_F(FileFormatTest, NoLoadNoFile)
{
    {
        CSettingsStore store(os);
        EXPECT_EQ(SSettingsStorePeer::Folder(store), dir.u16("Lumivant") + os.PathSeparator());
        store.Save();
    }
    EXPECT_TRUE(fs::is_empty(dir.path() / "Lumivant"));
    EXPECT_FALSE(fs::exists(file));
}

TEST_F(FileFormatTest, DefaultPathAndTheExampleFile)
{
    {
        CSettingsStore store(os);
        store.Load(u"");
        EXPECT_EQ(SSettingsStorePeer::FilePath(store), SSettingsStorePeer::Folder(store) + u"lvp_hdr.xml");
        store.SetString(u"EnfusePath", u"C:\\Tools\\enfuse.exe", u"", true);
        store.SetInt(u"JpegQuality", 90);
    }
    EXPECT_EQ(ReadBytes(dir.path() / "Lumivant" / "lvp_hdr.xml"),
              kHead +
                  "  <c Attr=\"EnfusePath\" Type=\"string\">C:\\Tools\\enfuse.exe</c>\r\n"
                  "  <c Attr=\"JpegQuality\" Type=\"int\">90</c>\r\n" +
                  kTail);
}

TEST_F(FileFormatTest, GroupsAndOrder)
{
    CSettingsStore store(os);
    LoadBytes(store, "<Settings><c Attr=\"on\" Type=\"bool\">true</c><c Attr=\"off\" Type=\"bool\">no</c>"
                     "<c Attr=\"\" Type=\"bool\">true</c>");
    store.SetString(u"b", u"2", u"", false);
    store.SetString(u"a", u"1", u"", false);
    store.SetString(u"r", u"3", u"", false);
    store.SetString(u"", u"skipped", u"", false);
    store.SetInt(u"neg", -7);
    store.SetInt(u"JpegQuality", 90);
    store.SetInt(u"", 5);
    store.SetBinFromHex(u"blob", u"007fa5");
    store.SetBinFromHex(u"none", u"a");
    EXPECT_EQ(SavedBytes(store), kHead +
                                     "  <c Attr=\"r\" Type=\"string\">3</c>\r\n"
                                     "  <c Attr=\"a\" Type=\"string\">1</c>\r\n"
                                     "  <c Attr=\"b\" Type=\"string\">2</c>\r\n"
                                     "  <c Attr=\"off\" Type=\"bool\">false</c>\r\n"
                                     "  <c Attr=\"on\" Type=\"bool\">true</c>\r\n"
                                     "  <c Attr=\"JpegQuality\" Type=\"int\">90</c>\r\n"
                                     "  <c Attr=\"neg\" Type=\"int\">-7</c>\r\n"
                                     "  <c Attr=\"blob\" Type=\"bin\">007fa5</c>\r\n" +
                                     kTail);
}

TEST_F(FileFormatTest, ValuesRoundTripUnchanged)
{
    auto key = [](size_t i) { return std::u16string{u'k', static_cast<char16_t>(u'0' + i)}; };
    const std::u16string values[] = {
        u"a&b",   u"say \"hi\" 'x'", u"line1\r\nline2", u"\u00E9\u20AC\U0001F600",
        u"a<b>c", u" padded ",       u"a__&lt;__b"};
    {
        CSettingsStore store(os);
        store.Load(file.u16string());
        for (size_t i = 0; i < std::size(values); ++i)
            store.SetString(key(i), values[i], u"", false);
    }
    const std::string bytes = ReadBytes(file);
    EXPECT_NE(bytes.find(">line1\r\nline2</c>"), std::string::npos);
    EXPECT_NE(bytes.find("\xC3\xA9\xE2\x82\xAC\xED\xA0\xBD\xED\xB8\x80</c>"), std::string::npos);
    EXPECT_NE(bytes.find(">a__&lt;__b__&gt;__c</c>"), std::string::npos);
    CSettingsStore store(os);
    store.Load(file.u16string());
    for (size_t i = 0; i < std::size(values); ++i) {
        const std::u16string expected = i == 6 ? u"a<b" : values[i]; // a typed escape is undone
        EXPECT_EQ(store.GetString(key(i), u""), expected);
    }
}

TEST_F(FileFormatTest, TolerantReader)
{
    struct Row {
        const char* name;
        std::string text; // after the UTF-8 mark
        std::string dump;
    } rows[] = {
        {"plain", "<Settings><c Attr=\"k\" Type=\"string\">v</c>", "s:k=v\n"},
        {"declaration and layout",
         "<?xml?>\r\n<Document>\r\n <Settings>\r\n  <c Attr=\"k\" Type=\"int\">5</c>\r\n", "i:k=5\n"},
        {"before the marker", "<c Attr=\"x\" Type=\"int\">1</c><Settings>", ""},
        {"no marker", "<Setting><c Attr=\"x\" Type=\"int\">1</c>", ""},
        {"after the section", "<Settings></Settings><c Attr=\"x\" Type=\"int\">1</c>", "i:x=1\n"},
        {"empty value", "<Settings><c Attr=\"k\" Type=\"string\"></c>", ""},
        {"empty key", "<Settings><c Attr=\"\" Type=\"string\">v</c>", ""},
        {"int -1 on an absent key", "<Settings><c Attr=\"k\" Type=\"int\">-1</c>", ""},
        {"int texts",
         "<Settings><c Attr=\"a\" Type=\"int\">abc</c><c Attr=\"b\" Type=\"int\"> 42x</c>"
         "<c Attr=\"c\" Type=\"int\">99999999999</c><c Attr=\"d\" Type=\"int\">-99999999999</c>"
         "<c Attr=\"e\" Type=\"int\">\t+7</c><c Attr=\"f\" Type=\"int\">-</c>",
         "i:f=0\ni:a=0\ni:b=42\ni:c=2147483647\ni:d=-2147483648\ni:e=7\n"},
        {"bool texts",
         "<Settings><c Attr=\"a\" Type=\"bool\">true</c><c Attr=\"b\" Type=\"bool\">TRUE</c>"
         "<c Attr=\"c\" Type=\"bool\">true </c><c Attr=\"d\" Type=\"bool\">1</c>",
         "b:a=true\nb:b=false\nb:c=false\nb:d=false\n"},
        {"bin texts",
         "<Settings><c Attr=\"a\" Type=\"bin\">007fA5</c><c Attr=\"b\" Type=\"bin\">abc</c>"
         "<c Attr=\"c\" Type=\"bin\">a</c><c Attr=\"d\" Type=\"bin\">zz0g</c>",
         "x:a=007f05\nx:b=ab\nx:c=-\nx:d=0000\n"},
        {"unknown or missing type",
         "<Settings><c Attr=\"a\" Type=\"float\">1</c><c Attr=\"b\">1</c><c Attr=\"c\" Type=\"\">1</c>", ""},
        {"type first, blanks around =", "<Settings><c Type = \"int\" Attr = \"k\">5</c>", "i:k=5\n"},
        {"two on one line", "<Settings><c Attr=\"a\" Type=\"int\">1</c><c Attr=\"b\" Type=\"int\">2</c>",
         "i:a=1\ni:b=2\n"},
        {"missing </c> runs on", "<Settings><c Attr=\"a\" Type=\"int\">1<c Attr=\"b\">2</c>", "i:b=2\n"},
        {"run-on keeps what the next lacks", "<Settings><c Attr=\"a\" Type=\"int\">1\n<c >2</c>", "i:a=2\n"},
        {"hand-written >", "<Settings><c Attr=\"k\" Type=\"string\">x>y</c>", "s:k=x__&gt;__y\n"},
        {"later wins, types apart",
         "<Settings><c Attr=\"k\" Type=\"int\">1</c><c Attr=\"k\" Type=\"int\">2</c>"
         "<c Attr=\"k\" Type=\"string\">s</c>",
         "s:k=s\ni:k=2\n"},
        {"case-sensitive keywords",
         "<Settings><C Attr=\"a\" Type=\"int\">1</c><c\tAttr=\"b\" Type=\"int\">1</c>"
         "<c attr=\"c\" Type=\"int\">1</c><c Attr=\"d\" type=\"int\">1</c><c Attr=\"e\" Type=\"int\">1</C>",
         ""},
        {"key up to the end", "<Settings><c Attr=\"k", ""},
        {"quotes pair up across attributes",
         "<Settings><c Attr=\"k Type=\"int\">1</c><c Attr=\"z\" Type=\"int\">2</c>", "i:z=2\n"},
        {"value up to the end", "<Settings><c Attr=\"k\" Type=\"string\">v", ""},
        {"no </c> at the end", "<Settings><c Attr=\"k\" Type=\"string\">v<", ""},
        {"text after a zero is cut",
         "<Settings><c Attr=\"a\" Type=\"int\">1</c>" + std::string(1, '\0') +
             "<c Attr=\"b\" Type=\"int\">2</c>",
         "i:a=1\n"},
        {"marker at the very end", "<c Attr=\"a\" Type=\"int\">1</c><Settings>", ""},
        {"quote in the value", "<Settings><c Attr=\"k\" Type=\"string\">say \"x\"</c>", "s:k=say \"x\"\n"},
        {"non-ASCII key and value", "<Settings><c Attr=\"\xC3\xA9\" Type=\"string\">\xE2\x82\xAC</c>",
         "s:\xC3\xA9=\xE2\x82\xAC\n"},
    };
    for (const Row& r : rows) {
        CSettingsStore store(os);
        LoadBytes(store, "\xEF\xBB\xBF" + r.text);
        EXPECT_EQ(Dump(store), r.dump) << r.name;
    }
}

TEST_F(FileFormatTest, EncodingsOfTheWholeFile)
{
    auto utf16 = [](const std::u16string& text, bool little) {
        std::string b = little ? "\xFF\xFE" : "\xFE\xFF";
        for (char16_t u : text) {
            const char lo = static_cast<char>(u & 0xFF), hi = static_cast<char>(u >> 8);
            b += little ? lo : hi;
            b += little ? hi : lo;
        }
        return b;
    };
    const std::u16string text = u"<Settings><c Attr=\"k\" Type=\"string\">\u00E9\u20AC</c>";
    struct Row {
        const char* name;
        std::string bytes;
        std::string dump;
    } rows[] = {
        {"utf-16 le", utf16(text, true), "s:k=\xC3\xA9\xE2\x82\xAC\n"},
        {"utf-16 be", utf16(text, false), "s:k=\xC3\xA9\xE2\x82\xAC\n"},
        {"no mark: ISO-8859-1", "<Settings><c Attr=\"k\" Type=\"string\">\xC3\xA9</c>",
         "s:k=\xC3\x83\xC2\xA9\n"},
        {"empty file", "", ""},
    };
    for (const Row& r : rows) {
        CSettingsStore store(os);
        LoadBytes(store, r.bytes);
        EXPECT_EQ(Dump(store), r.dump) << r.name;
    }
}

TEST_F(FileFormatTest, MissingFileIsCreatedAtTheRememberedPath)
{
    const fs::path sub = dir.path() / "sub";
    fs::create_directory(sub);
    {
        CSettingsStore store(os);
        store.Load((sub / "new.xml").u16string());
        EXPECT_EQ(Dump(store), "");
        store.SetInt(u"JpegQuality", 80);
    }
    EXPECT_EQ(ReadBytes(sub / "new.xml"),
              kHead + "  <c Attr=\"JpegQuality\" Type=\"int\">80</c>\r\n" + kTail);
    EXPECT_FALSE(fs::exists(sub / "new.xml.tmp"));
}

// The same content saved by either build gives the same bytes as the checked-in file.
TEST_F(FileFormatTest, SameBytesOnEveryBuild)
{
    {
        CSettingsStore store(os);
        LoadBytes(store, "\xEF\xBB\xBF<Settings><c Attr=\"ShowGrid\" Type=\"bool\">true</c>"
                         "<c Attr=\"Compact\" Type=\"bool\">false</c>");
        store.SetString(u"EnfusePath", u"C:\\Program Files\\enfuse\\enfuse.exe", u"", true);
        store.SetString(u"HTMLTargetFileName", u"gallery", u"", true);
        store.SetString(u"Caption", u"Gr\u00FC\u00DFe <Sommer> & \"Winter\"\r\n\u20AC \U0001F600", u"", true);
        store.SetString(u"PictureListExtension", u"tsv", u"", true);
        store.SetInt(u"JpegQuality", 87);
        store.SetInt(u"WindowLeft", -120);
        store.SetInt(u"Count", 2147483647);
        store.SetBinFromHex(u"Placement", u"2c0000000200000003000000ff7fa5");
    }
    EXPECT_EQ(ReadBytes(file), ReadBytes(fs::path(LVP_SETTINGS_TEST_DATA) / "golden_lvp_hdr.xml"));
}
} // namespace
} // namespace lvp
