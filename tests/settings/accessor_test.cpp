// The store's accessors: defaults, per-key corrections, removals, escaping, merge on Load.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/utf.h"
#include "settings/settings_store.h"
#include "tests/support/fake_os.h"
#include "tests/support/store_peer.h"

namespace lvp {
namespace {
const std::u16string kFile = u"C:\\Users\\u\\AppData\\Lumivant\\lvp_hdr.xml";

class AccessorTest : public ::testing::Test {
protected:
    AccessorTest()
    {
        os.exe = u"C:\\Host\\host.exe";
        os.appData = u"C:\\Users\\u\\AppData";
        os.folders = {u"C:",
                      u"C:\\cwd",
                      u"C:\\Host",
                      u"C:\\Users\\u\\AppData",
                      u"C:\\Users\\u\\AppData\\Lumivant",
                      u"C:\\Photos"};
        os.files.insert(u"C:\\Host\\host.exe");
    }
    // Loads the given settings elements as the file's content.
    void LoadElements(CSettingsStore& store, const std::string& elements)
    {
        os.files.insert(kFile);
        os.contents[kFile] = "\xEF\xBB\xBF<Settings>" + elements;
        store.Load(u"");
        ASSERT_EQ(SSettingsStorePeer::FilePath(store), kFile);
    }
    static std::optional<std::u16string> Stored(const CSettingsStore& s, const std::u16string& key)
    {
        const std::u16string* v = SSettingsStorePeer::StringMap(s).Find(key);
        return v ? std::optional(*v) : std::nullopt;
    }
    static std::optional<int32_t> StoredInt(const CSettingsStore& s, const std::u16string& key)
    {
        const int32_t* v = SSettingsStorePeer::IntMap(s).Find(key);
        return v ? std::optional(*v) : std::nullopt;
    }
    CFakeOs os;
};

TEST_F(AccessorTest, SetStringRules)
{
    const auto none = std::optional<std::u16string>();
    struct Row {
        std::u16string key, value, def;
        bool normalize;
        std::optional<std::u16string> stored;
        std::u16string read; // GetString(key, "") afterwards
    } rows[] = {
        {u"PictureListExtension", u"tif", u"", true, u".tif", u".tif"},
        {u"PictureListExtension", u"x", u"", true, u".csv", u".csv"},
        {u"PictureListExtension", u".jpg", u"", true, u".jpg", u".jpg"},
        {u"PictureListExtension", u"x", u"", false, u"x", u"x"}, // stored text is not corrected
        {u"HTMLTargetFileName", u"page", u"", true, u"page.html", u"page.html"},
        {u"HTMLTargetFileName", u"a.b", u"", true, u"a.b", u"a.b"},
        {u"IndexTargetFolder", u"C:\\out", u"", true, u"C:\\out\\", u"C:\\out\\"},
        {u"PanoramaSplitTargetFolder", u"C:\\out\\", u"", true, u"C:\\out\\", u"C:\\out\\"},
        {u"HTMLTargetFolder", u"C:/out/", u"", true, u"C:/out/\\", u"C:/out/\\"},
        {u"TransferTargetDir", u"C:\\Nowhere", u"", true, none, u""},
        {u"TransferSourceDir", u"C:\\Photos", u"", true, u"C:\\Photos", u"C:\\Photos"},
        {u"ExternalMediaTargetDir", u"C:\\Host\\host.exe", u"", true, none, u""},
        {u"IndexFileName", u"", u"x", true, u"index%02d.jpg", u"index%02d.jpg"},
        {u"EnfusePath", u"", u"", true, none, u""},
        {u"EnfusePath", u"C:\\enfuse.exe", u"C:\\enfuse.exe", true, none, u""},
        {u"EnfusePath", u"a<b>c", u"", true, u"a__&lt;__b__&gt;__c", u"a<b>c"},
        {u"EnfusePath", u"x__&gt;__y", u"", true, u"x__&gt;__y", u"x>y"},
        {u"EnfusePath", u"<<>>", u"", false, u"__&lt;____&lt;____&gt;____&gt;__", u"<<>>"},
        {u"", u"v", u"", true, none, u""},
        {u"", u"v", u"", false, u"v", u"v"},
    };
    for (const Row& r : rows) {
        CSettingsStore store(os);
        store.SetString(r.key, u"previous", u"", false);
        store.SetString(r.key, r.value, r.def, r.normalize);
        const std::string what = Utf8(r.key) + "=" + Utf8(r.value);
        EXPECT_EQ(Stored(store, r.key), r.stored) << what;
        EXPECT_EQ(store.GetString(r.key, u""), r.read) << what;
    }
}

TEST_F(AccessorTest, GetStringDefaults)
{
    struct Row {
        std::u16string key, def, result;
    } rows[] = {
        {u"PictureListExtension", u"", u".csv"},
        {u"IndexFileName", u"", u"index%02d.jpg"},
        {u"HTMLTargetFileName", u"", u"index.html"},
        {u"EnfusePath", u"", u""},
        {u"IndexTargetFolder", u"", u""},
        {u"Other", u"", u""},
        {u"", u"", u""},
        {u"PictureListExtension", u"d", u"d"},
        {u"EnfusePath", u"a__&lt;__b__&gt;__", u"a<b>"}, // the default is unescaped too
        {u"picturelistextension", u"", u""},             // keys are case-sensitive
    };
    CSettingsStore store(os);
    for (const Row& r : rows)
        EXPECT_EQ(store.GetString(r.key, r.def), r.result) << Utf8(r.key);
}

TEST_F(AccessorTest, GetIntRules)
{
    const auto none = std::optional<int32_t>();
    struct Row {
        std::u16string key;
        const char* fileValue; // nullptr: no entry
        int32_t def;
        int32_t result;
        std::optional<int32_t> after;
    } rows[] = {
        {u"JpegQuality", nullptr, 95, 95, none},
        {u"JpegQuality", "50", 95, 50, 50},
        {u"JpegQuality", "0", 95, 95, 0},
        {u"JpegQuality", "101", 95, 95, 101},
        {u"JpegQuality", "95", 95, 95, none}, // pruned on read
        {u"JpegQuality", nullptr, 200, 95, none},
        {u"JpegQuality", "80", 80, 80, none},
        {u"Other", nullptr, 7, 7, none},
        {u"Other", "7", 7, 7, none},
        {u"Other", "-5", 7, -5, -5},
        {u"jpegquality", "500", 95, 500, 500},
        {u"", nullptr, 5, 5, none},
    };
    for (const Row& r : rows) {
        CSettingsStore store(os);
        if (r.fileValue)
            LoadElements(store, "<c Attr=\"" + Utf8(r.key) + "\" Type=\"int\">" + r.fileValue + "</c>");
        EXPECT_EQ(store.GetInt(r.key, r.def), r.result) << Utf8(r.key);
        EXPECT_EQ(StoredInt(store, r.key), r.after) << Utf8(r.key);
    }
}

// The quality's 32 bits go into the int entry and come back unsigned, with the entry's rules.
TEST_F(AccessorTest, QualityKeepsItsBitsInTheIntEntry)
{
    const auto none = std::optional<int32_t>();
    struct Row {
        uint32_t value;
        std::optional<int32_t> stored;
        uint32_t read;
    } rows[] = {
        {50, 50, 50},          {100, 100, 100},         {95, none, 95},
        {0, 95, 95},           {0xFFFFFFFFu, none, 95}, // all bits set is -1: the entry goes
        {0x80000000u, 95, 95}, // negative as an int: corrected like any out-of-range value
    };
    for (const Row& r : rows) {
        CSettingsStore store(os);
        store.SetInt(u"JpegQuality", 42);
        store.SetQuality(r.value);
        EXPECT_EQ(StoredInt(store, u"JpegQuality"), r.stored) << r.value;
        EXPECT_EQ(store.GetQuality(), r.read) << r.value;
    }
}

// AlignImages and FuseEachBracket: 1 (the default, no entry) or 0; a file's other value reads as 1.
TEST_F(AccessorTest, ChoicesAreOneOrZeroWithOneTheDefault)
{
    const auto none = std::optional<int32_t>();
    struct Row {
        std::optional<int32_t> before; // the entry as a file's Load leaves it
        std::optional<bool> set;       // what the command stores, if anything
        std::optional<int32_t> stored;
        bool read;
    } rows[] = {
        {none, {}, none, true},  {0, {}, 0, false},     {7, {}, 7, true},      {1, {}, none, true},
        {none, false, 0, false}, {0, true, none, true}, {5, true, none, true},
    };
    struct Choice {
        std::string key;
        bool (CSettingsStore::*get)();
        void (CSettingsStore::*set)(bool);
    } choices[] = {
        {"AlignImages", &CSettingsStore::GetAlignImages, &CSettingsStore::SetAlignImages},
        {"FuseEachBracket", &CSettingsStore::GetFuseEachBracket, &CSettingsStore::SetFuseEachBracket}};
    for (const Choice& c : choices) {
        for (const Row& r : rows) {
            CSettingsStore store(os);
            if (r.before)
                LoadElements(store,
                             "<c Attr=\"" + c.key + "\" Type=\"int\">" + std::to_string(*r.before) + "</c>");
            if (r.set)
                (store.*c.set)(*r.set);
            EXPECT_EQ((store.*c.get)(), r.read) << c.key;
            EXPECT_EQ(StoredInt(store, platform::Utf8ToUtf16(c.key)), r.stored) << c.key;
        }
    }
}

// FusionMode: 0 (the default, no entry) or 1; a file's other value reads as 0.
TEST_F(AccessorTest, FusionModeIsZeroOrOneWithZeroTheDefault)
{
    const auto none = std::optional<int32_t>();
    struct Row {
        std::optional<int32_t> before; // the entry as a file's Load leaves it
        std::optional<int32_t> set;    // what the command stores, if anything
        std::optional<int32_t> stored;
        int32_t read;
    } rows[] = {
        {none, {}, none, 0}, {1, {}, 1, 1},   {0, {}, none, 0},   {7, {}, 7, 0},      {-5, {}, -5, 0},
        {none, 1, 1, 1},     {1, 0, none, 0}, {none, 0, none, 0}, {none, 2, none, 0}, {1, -1, none, 0},
    };
    for (const Row& r : rows) {
        CSettingsStore store(os);
        if (r.before)
            LoadElements(store, "<c Attr=\"FusionMode\" Type=\"int\">" + std::to_string(*r.before) + "</c>");
        if (r.set)
            store.SetFusionMode(*r.set);
        EXPECT_EQ(store.GetFusionMode(), r.read);
        EXPECT_EQ(StoredInt(store, u"FusionMode"), r.stored);
    }
}

TEST_F(AccessorTest, SetIntRules)
{
    const auto none = std::optional<int32_t>();
    struct Row {
        std::u16string key;
        int32_t value;
        std::optional<int32_t> stored;
    } rows[] = {
        {u"JpegQuality", 95, none},
        {u"JpegQuality", -1, none},
        {u"JpegQuality", 150, 95},
        {u"JpegQuality", 50, 50},
        {u"JpegQuality", 0, 95},
        {u"Other", -1, none},
        {u"Other", 0, 0},
        {u"Other", INT32_MIN, INT32_MIN},
        {u"", 0, none},
        {u"", 5, 0},
    };
    for (const Row& r : rows) {
        CSettingsStore store(os);
        store.SetInt(r.key, 42);
        store.SetInt(r.key, r.value);
        EXPECT_EQ(StoredInt(store, r.key), r.stored) << Utf8(r.key) << " " << r.value;
    }
    CSettingsStore store(os);
    EXPECT_EQ(store.DefaultInt(u""), 0);
    EXPECT_EQ(store.DefaultInt(u"JpegQuality"), 95);
    EXPECT_EQ(store.DefaultInt(u"Other"), -1);
    EXPECT_EQ(store.NormalizeInt(u"", 7), 0);
    EXPECT_EQ(store.NormalizeInt(u"JpegQuality", 1), 1);
    EXPECT_EQ(store.NormalizeInt(u"JpegQuality", 100), 100);
}

TEST_F(AccessorTest, SetBinFromHexReplacesTheBuffer)
{
    CSettingsStore store(os);
    store.SetBinFromHex(u"k", u"007fA5");
    ASSERT_EQ(SSettingsStorePeer::BinMap(store).Find(u"k")->nLength, 3);
    EXPECT_EQ(SSettingsStorePeer::BinMap(store).Find(u"k")->pData[2], 0x05);
    store.SetBinFromHex(u"k", u"abc");
    store.SetBinFromHex(u"z", u"a");
    EXPECT_EQ(Dump(store), "x:z=-\nx:k=ab\n");
}

TEST_F(AccessorTest, LoadMergesIntoTheMaps)
{
    CSettingsStore store(os);
    store.SetString(u"EnfusePath", u"memory", u"", false);
    store.SetString(u"kept", u"memory", u"", false);
    store.SetString(u"k", u"memory", u"", false);
    store.SetInt(u"JpegQuality", 50);
    store.SetInt(u"gone", 3);
    LoadElements(store, "<c Attr=\"EnfusePath\" Type=\"string\">file</c>"
                        "<c Attr=\"k\" Type=\"string\"></c>"
                        "<c Attr=\"JpegQuality\" Type=\"int\">70</c>"
                        "<c Attr=\"gone\" Type=\"int\">-1</c>");
    EXPECT_EQ(store.GetString(u"EnfusePath", u""), u"file");
    EXPECT_EQ(store.GetString(u"kept", u""), u"memory");
    EXPECT_EQ(store.GetString(u"k", u""), u"memory");
    EXPECT_EQ(store.GetInt(u"JpegQuality", 95), 70);
    EXPECT_EQ(StoredInt(store, u"gone"), std::nullopt);
    // A second Load overwrites what changed in memory since, for the keys the file holds.
    store.SetInt(u"JpegQuality", 60);
    store.SetString(u"kept", u"changed", u"", false);
    store.Load(u"");
    EXPECT_EQ(store.GetInt(u"JpegQuality", 95), 70);
    EXPECT_EQ(store.GetString(u"kept", u""), u"changed");
}

TEST_F(AccessorTest, LoadSetsThePathEvenWhenTheFileIsMissing)
{
    CSettingsStore store(os);
    store.Load(u"");
    EXPECT_EQ(SSettingsStorePeer::FilePath(store), kFile);
    store.Load(u"D:\\other.xml");
    EXPECT_EQ(SSettingsStorePeer::FilePath(store), u"D:\\other.xml");
    EXPECT_EQ(Dump(store), "");
}
} // namespace
} // namespace lvp
