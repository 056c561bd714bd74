// The exposure-fusion command: Start/Execute over the in-memory window system with a settings
// store of the test's own.
#include "platform/os.h"
#include "platform/utf.h"
#include "plugin/function_plugin_hdr.h"
#include "resources/ids.h"
#include "resources/strings.h"
#include "tests/metadata/fixtures.h"
#include "tests/support/file_util.h"
#include "tests/support/search_os.h"
#include "tests/support/store_peer.h"
#include "tests/support/test_util.h"
#include "tests/ui/model/model_ui.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <new>

namespace {
using namespace lvp;

// In a folder of the test's own, where the store writes its file when it goes at exit.
const TempDir s_settingsDir;
const CRedirectedOs s_settingsOs(s_settingsDir);
CSettingsStore s_settings(s_settingsOs);

class Command : public ::testing::Test {
protected:
    // Every object reads the settings file again: the values a test sets come after that.
    void SetUp() override
    {
        for (const std::u16string* pPhoto : {&m_a, &m_c})
            std::ofstream(std::filesystem::path(*pPhoto)).put('x');
        m_pPlugin = std::make_unique<CFunctionPluginHDR>(m_os, m_ui, s_settings);
        s_settings.SetInt(u"JpegQuality", 95);
        s_settings.SetString(u"EnfusePath", u"", u"", true);
    }
    // Confirms the dialog with the given quality text (or cancels it with Escape).
    void Confirm(const std::u16string& quality)
    {
        m_ui.m_steps.push_back([quality](CModelDialog& d) { d.Type(IDC_QUALITY, quality); });
        m_ui.m_steps.push_back([](CModelDialog& d) { d.Click(IDC_OK); });
        m_ui.m_steps.push_back([](CModelDialog& d) { d.Click(IDC_OK); });
    }
    CModelUi m_ui;
    // The real OS, but no program on PATH or in install folders; the fake tool's script steps
    // among the photos count as files that open.
    class CNoPathOs : public CSearchOs {
    public:
        bool FileOpensForReading(const std::u16string& p) const override
        {
            const size_t colon = p.find(u':');
            const bool bStep =
                colon != std::u16string::npos && colon > 1 &&
                std::all_of(p.begin(), p.begin() + colon, [](char16_t c) { return c >= u'a' && c <= u'z'; });
            return bStep || CRealOs::FileOpensForReading(p);
        }
    } m_os;
    const std::u16string m_fake = platform::Utf8ToUtf16(LVP_FAKE_TOOL);
    const TempDir m_temp;
    const std::u16string m_folder = m_temp.u16() + platform::RealOs().PathSeparator();
    std::u16string m_a = m_folder + u"a.jpg", m_b = u"out:fused\\n", m_c = m_folder + u"c.jpg";
    SelectionList m_selection{m_a.c_str(), m_b.c_str(), m_c.c_str()};
    platform::WindowId m_host = reinterpret_cast<platform::WindowId>(&m_ui); // any non-null id
    std::unique_ptr<CFunctionPluginHDR> m_pPlugin;
};

TEST_F(Command, StartNeedsTwoFiles)
{
    CFunctionPluginHDR& plugin = *m_pPlugin;
    SelectionList one{m_a.c_str()};
    SStartResult r = plugin.Start(reinterpret_cast<HostWindow>(m_host), one);
    EXPECT_EQ(r.proceed, 0);
    ASSERT_EQ(m_ui.m_messages.size(), 1u);
    EXPECT_EQ(m_ui.m_messages[0].strText, LoadModuleString(IDS_SELECT_TWO_IMAGES));
    EXPECT_EQ(m_ui.m_messages[0].icon, EMessageIcon::Information);
    EXPECT_TRUE(plugin.Execute()->empty()); // no dialog, nothing shown
    EXPECT_EQ(m_ui.m_dialogs.size(), 0u);
    EXPECT_EQ(m_ui.m_messages.size(), 1u);
}

// Raw files and files that do not open are refused before the dialog, named in the message; the
// host is told "refused" as for a single file.
TEST_F(Command, StartRefusesRawAndUnreadablePhotos)
{
    const std::u16string raw1 = m_folder + u"IMG_1.CR2", raw2 = m_folder + u"img_2.nef",
                         missing = m_folder + u"gone.jpg";
    std::ofstream(std::filesystem::path(raw1)).put('x');
    std::ofstream(std::filesystem::path(raw2)).put('x');
    const std::u16string nl = u"\n";
    std::vector<std::u16string> many; // ten missing photos: seven named, then the count
    for (char c = '0'; c <= '9'; ++c)
        many.push_back(m_folder + u"m" + char16_t(c) + u".jpg");
    std::u16string manyNamed;
    for (size_t i = 0; i < 7; ++i)
        manyNamed += (i ? nl : u"") + many[i];
    struct Case {
        const char* name;
        std::vector<std::u16string> photos;
        unsigned nId;
        std::u16string list;
    } cases[] = {
        {"a raw file among JPEGs", {m_a, raw1, m_c}, IDS_PHOTOS_RAW, u"IMG_1.CR2"},
        {"raw files (also when missing) before missing ones",
         {raw2, missing, raw1, m_folder + u"x.DNG"},
         IDS_PHOTOS_RAW,
         u"img_2.nef" + nl + u"IMG_1.CR2" + nl + u"x.DNG"},
        {"a missing file", {m_a, missing}, IDS_PHOTOS_UNREADABLE, missing},
        {"a folder", {m_a, m_folder, m_c}, IDS_PHOTOS_UNREADABLE, m_folder},
        {"many missing", many, IDS_PHOTOS_UNREADABLE,
         manyNamed + nl + FormatModuleString(IDS_LIST_MORE, u"3")},
    };
    for (const Case& c : cases) {
        m_ui.m_messages.clear();
        SelectionList selection;
        for (const std::u16string& photo : c.photos)
            selection.push_back(photo.c_str());
        const SStartResult r = m_pPlugin->Start(reinterpret_cast<HostWindow>(m_host), selection);
        EXPECT_EQ(r.proceed, 0) << c.name;
        EXPECT_EQ(r.extra1, 0);
        EXPECT_EQ(r.extra2, 0);
        ASSERT_EQ(m_ui.m_messages.size(), 1u) << c.name;
        EXPECT_EQ(m_ui.m_messages[0].strText, FormatModuleString(c.nId, c.list)) << c.name;
        EXPECT_EQ(m_ui.m_messages[0].icon, EMessageIcon::Warning);
        EXPECT_TRUE(m_pPlugin->Execute()->empty()) << c.name; // nothing was accepted: no dialog
        EXPECT_EQ(m_ui.m_dialogs.size(), 0u) << c.name;
    }
    const std::u16string text = FormatModuleString(IDS_PHOTOS_RAW, u"X");
    EXPECT_NE(text.find(u"TIFF oder JPEG"), std::u16string::npos);
}

TEST_F(Command, ConfirmedRunsStoreAndReturn)
{
    s_settings.SetString(u"EnfusePath", m_fake, u"", true);
    CFunctionPluginHDR& plugin = *m_pPlugin;
    ASSERT_EQ(plugin.Start(reinterpret_cast<HostWindow>(m_host), m_selection).proceed, 1);
    struct Case {
        std::u16string quality;
        bool bStored;
        std::int32_t stored;
    } cases[] = {{u"95", false, 0}, {u"80", true, 80}, {u"1", true, 1}, {u"100", true, 100}};
    size_t n = 0;
    for (const Case& c : cases) {
        std::filesystem::remove(std::filesystem::path(m_folder + u"a-c.jpg"));
        Confirm(c.quality);
        ResultList* results = plugin.Execute();
        ASSERT_EQ(results->size(), ++n);
        EXPECT_EQ(results->back().file.str(), m_folder + u"a-c.jpg");
        EXPECT_EQ(results->back().flag, 1);
        const std::int32_t* p = SSettingsStorePeer::IntMap(s_settings).Find(u"JpegQuality");
        EXPECT_EQ(p != nullptr, c.bStored) << platform::Utf16ToUtf8(c.quality);
        if (p && c.bStored) {
            EXPECT_EQ(*p, c.stored);
        }
        EXPECT_EQ(s_settings.GetString(u"EnfusePath", u""), m_fake);
        // The dialog showed the proposed name over the host's window.
        EXPECT_EQ(m_ui.LastDialog()->parent, m_host);
    }
}

TEST_F(Command, CancelChangesNothing)
{
    s_settings.SetInt(u"JpegQuality", 70);
    CFunctionPluginHDR& plugin = *m_pPlugin;
    ASSERT_EQ(plugin.Start(nullptr, m_selection).proceed, 1);
    m_ui.m_steps = {[](CModelDialog& d) { d.Type(IDC_QUALITY, u"50"); },
                    [](CModelDialog& d) { d.Type(IDC_PROGRAM, u"C:\\other.exe"); },
                    [](CModelDialog& d) { d.PressEscape(); }};
    EXPECT_TRUE(plugin.Execute()->empty());
    EXPECT_EQ(s_settings.GetInt(u"JpegQuality", 95), 70);
    EXPECT_EQ(s_settings.GetString(u"EnfusePath", u""), u"");
    // The dialog showed the stored quality and the current-folder guess.
    SModelDialog& d = *m_ui.LastDialog();
    EXPECT_EQ(d.nResult, 2);
    m_ui.m_bCanShowDialogs = false; // a dialog that cannot be shown is a cancel too
    EXPECT_TRUE(plugin.Execute()->empty());
}

TEST_F(Command, ExceptionLeavesExecuteWithTheHostWindowUntouched)
{
    CFunctionPluginHDR& plugin = *m_pPlugin;
    ASSERT_EQ(plugin.Start(reinterpret_cast<HostWindow>(m_host), m_selection).proceed, 1);
    m_ui.m_hostWindow.strText = u"Host";
    m_ui.m_onMessage = [](const SModelMessage&) { throw std::bad_alloc(); };
    m_ui.m_steps = {[](CModelDialog& d) { d.Type(IDC_PROGRAM, u""); },
                    [](CModelDialog& d) { d.Click(IDC_OK); }};
    EXPECT_THROW(plugin.Execute(), std::bad_alloc);
    EXPECT_EQ(m_ui.m_hostWindow.strText, u"Host");
    EXPECT_TRUE(m_ui.m_hostWindow.bVisible && m_ui.m_hostWindow.bEnabled);
    m_ui.m_onMessage = nullptr;
    s_settings.SetString(u"EnfusePath", m_fake, u"", true);
    Confirm(u"90"); // the object still works
    EXPECT_EQ(plugin.Execute()->size(), 1u);
}
// A run that fails or is stopped hands the host no file; the confirmed settings are kept.
TEST_F(Command, OnlyAFusedFileIsHandedBack)
{
    s_settings.SetString(u"EnfusePath", m_fake, u"", true);
    CFunctionPluginHDR& plugin = *m_pPlugin;
    const std::u16string fail = u"exit:1", hang = u"sleep:600000";
    for (const std::u16string* pStep : {&fail, &hang}) {
        SelectionList selection{m_a.c_str(), pStep->c_str(), m_c.c_str()};
        ASSERT_EQ(plugin.Start(reinterpret_cast<HostWindow>(m_host), selection).proceed, 1);
        m_ui.m_runSteps = {[](CModelDialog& d) { d.PressEscape(); }};
        if (pStep == &fail)
            m_ui.m_runSteps.clear();
        Confirm(u"80");
        EXPECT_TRUE(plugin.Execute()->empty()) << platform::Utf16ToUtf8(*pStep);
        EXPECT_EQ(m_ui.LastDialog()->nResult, 1);
        EXPECT_EQ(s_settings.GetInt(u"JpegQuality", 95), 80);
        EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(m_folder + u"a-c.jpg")));
    }
}
} // namespace

namespace {
// AlignImages is read into the dialog and stored with the other two on the closing OK, but only
// while the box was offered; a cancel stores nothing.
TEST_F(Command, AlignImagesStoredOnlyWhenTheBoxWasOffered)
{
    const std::u16string hugin = platform::Utf8ToUtf16(LVP_FAKE_HUGIN_ENFUSE);
    const auto none = std::optional<std::int32_t>();
    struct Case {
        const char* name;
        const std::u16string* pProgram;
        std::optional<std::int32_t> before;
        bool bToggle, bConfirm;
        bool bShownChecked;
        std::optional<std::int32_t> after;
    } cases[] = {
        {"offered, kept on", &hugin, none, false, true, true, none},
        {"offered, turned off", &hugin, none, true, true, true, 0},
        {"offered, turned on again", &hugin, 0, true, true, false, none},
        {"offered, turned off, cancelled", &hugin, none, true, false, true, none},
        {"not offered", &m_fake, 0, true, true, false, 0},
    };
    CFunctionPluginHDR& plugin = *m_pPlugin;
    for (const Case& c : cases) {
        s_settings.SetString(u"EnfusePath", *c.pProgram, u"", true);
        s_settings.SetAlignImages(c.before.value_or(1) != 0);
        std::filesystem::remove(std::filesystem::path(m_folder + u"a-c.jpg"));
        ASSERT_EQ(plugin.Start(nullptr, m_selection).proceed, 1);
        bool bShownChecked = false;
        m_ui.m_steps = {[&](CModelDialog& d) { bShownChecked = d.State().Find(IDC_ALIGN_IMAGES)->bChecked; }};
        if (c.bToggle)
            m_ui.m_steps.push_back([](CModelDialog& d) { d.Click(IDC_ALIGN_IMAGES); });
        if (c.bConfirm)
            Confirm(u"95");
        else
            m_ui.m_steps.push_back([](CModelDialog& d) { d.PressEscape(); });
        plugin.Execute();
        EXPECT_EQ(bShownChecked, c.bShownChecked) << c.name;
        const std::int32_t* p = SSettingsStorePeer::IntMap(s_settings).Find(u"AlignImages");
        EXPECT_EQ(p ? std::optional(*p) : none, c.after) << c.name;
    }
}
} // namespace

namespace {
using namespace lvp::metadata::test;

// A JPEG whose Exif says when it was taken (whole seconds) and, where given, its exposure bias
// in EV.
void WriteDatedJpeg(const std::u16string& path, const char* dateTime, std::optional<std::int32_t> bias = {})
{
    SExifSpec spec;
    spec.exif = {SOrder::Ascii(0x9003, dateTime)};
    if (bias) {
        const SOrder le{false};
        Bytes value = le.U32(static_cast<std::uint32_t>(*bias));
        const Bytes one = le.U32(1);
        value.insert(value.end(), one.begin(), one.end());
        spec.exif.push_back({0x9204, 10, 1, value}); // ExposureBiasValue, SRATIONAL
    }
    const Bytes jpeg = MakeJpeg({Segment(0xE1, std::string_view("Exif\0\0", 6), MakeExifBlock(spec))});
    WriteBytes(std::filesystem::path(path),
               std::string_view(reinterpret_cast<const char*>(jpeg.data()), jpeg.size()));
}

// A shoot of two brackets by their capture times: fused each into its own output, listed in
// order, or as one; FuseEachBracket stored only while the box was offered, not on a cancel.
TEST_F(Command, BracketsOfTheSelectionFusedEachIntoItsOwnOutput)
{
    const auto none = std::optional<std::int32_t>();
    const std::vector<const char*> twoBrackets{"2026:05:01 10:00:00", "2026:05:01 10:00:01",
                                               "2026:05:01 10:00:02", "2026:05:01 10:05:00",
                                               "2026:05:01 10:05:01"};
    const std::vector<const char*> oneBracket{"2026:05:01 10:00:00", "2026:05:01 10:00:01",
                                              "2026:05:01 10:00:02", "2026:05:01 10:00:03",
                                              "2026:05:01 10:00:04"};
    struct Case {
        const char* name;
        const std::vector<const char*>* pTimes;
        std::optional<std::int32_t> before;
        bool bToggle, bConfirm, bShownEnabled;
        std::vector<const char16_t*> results; // in the test's folder
        std::optional<std::int32_t> after;
    } cases[] = {
        {"offered, kept on", &twoBrackets, none, false, true, true, {u"p1-p3.jpg", u"p4-p5.jpg"}, none},
        {"offered, turned off", &twoBrackets, none, true, true, true, {u"p1-p5.jpg"}, 0},
        {"offered, turned on again", &twoBrackets, 0, true, true, true, {u"p1-p3.jpg", u"p4-p5.jpg"}, none},
        {"offered, turned off, cancelled", &twoBrackets, none, true, false, true, {}, none},
        {"one bracket: not offered", &oneBracket, 0, true, true, false, {u"p1-p5.jpg"}, 0},
    };
    for (const Case& c : cases) {
        std::vector<std::u16string> photos;
        for (size_t i = 0; i < c.pTimes->size(); ++i) {
            photos.push_back(m_folder + u"p" + platform::DecimalText(static_cast<std::int64_t>(i + 1)) +
                             u".jpg");
            WriteDatedJpeg(photos.back(), (*c.pTimes)[i]);
        }
        for (const char16_t* name : {u"p1-p3.jpg", u"p4-p5.jpg", u"p1-p5.jpg"})
            std::filesystem::remove(std::filesystem::path(m_folder + name));
        SelectionList selection;
        for (const std::u16string& photo : photos)
            selection.push_back(photo.c_str());
        s_settings.SetString(u"EnfusePath", m_fake, u"", true);
        s_settings.SetFuseEachBracket(c.before.value_or(1) != 0);
        m_pPlugin = std::make_unique<CFunctionPluginHDR>(m_os, m_ui, s_settings);
        ASSERT_EQ(m_pPlugin->Start(nullptr, selection).proceed, 1);
        SModelControl box;
        m_ui.m_steps = {[&](CModelDialog& d) { box = *d.State().Find(IDC_FUSE_EACH); }};
        if (c.bToggle)
            m_ui.m_steps.push_back([](CModelDialog& d) { d.Click(IDC_FUSE_EACH); });
        if (c.bConfirm)
            Confirm(u"95");
        else
            m_ui.m_steps.push_back([](CModelDialog& d) { d.PressEscape(); });
        const ResultList& results = *m_pPlugin->Execute();
        EXPECT_EQ(box.bEnabled, c.bShownEnabled) << c.name;
        EXPECT_EQ(box.bChecked, c.bShownEnabled && !c.before) << c.name;
        ASSERT_EQ(results.size(), c.results.size()) << c.name;
        for (size_t i = 0; i < results.size(); ++i) {
            EXPECT_EQ(std::u16string(results[i].file.c_str()), m_folder + c.results[i]) << c.name;
            EXPECT_EQ(results[i].flag, 1) << c.name;
        }
        const std::int32_t* p = SSettingsStorePeer::IntMap(s_settings).Find(u"FuseEachBracket");
        EXPECT_EQ(p ? std::optional(*p) : none, c.after) << c.name;
    }
}
} // namespace

namespace {
// FusionMode is read into list 1017 and stored on the closing OK (the exposure series as no
// entry); a cancel stores nothing.
TEST_F(Command, FusionModeShownAndStoredOnConfirm)
{
    const auto none = std::optional<std::int32_t>();
    struct Case {
        const char* name;
        std::int32_t before;
        int nChoose; // -1: the list is left as shown
        bool bConfirm;
        std::optional<std::int32_t> after;
    } cases[] = {
        {"exposure kept", 0, -1, true, none},
        {"focus chosen", 0, 1, true, 1},
        {"focus kept", 1, -1, true, 1},
        {"exposure chosen", 1, 0, true, none},
        {"focus chosen, cancelled", 0, 1, false, none},
    };
    s_settings.SetString(u"EnfusePath", m_fake, u"", true);
    CFunctionPluginHDR& plugin = *m_pPlugin;
    for (const Case& c : cases) {
        s_settings.SetFusionMode(c.before);
        std::filesystem::remove(std::filesystem::path(m_folder + u"a-c.jpg"));
        ASSERT_EQ(plugin.Start(nullptr, m_selection).proceed, 1);
        int nShown = -2;
        m_ui.m_steps = {[&](CModelDialog& d) { nShown = d.State().Find(IDC_FUSION_MODE)->nCurSel; }};
        if (c.nChoose >= 0)
            m_ui.m_steps.push_back([&c](CModelDialog& d) { d.SelectItem(IDC_FUSION_MODE, c.nChoose); });
        if (c.bConfirm)
            Confirm(u"95");
        else
            m_ui.m_steps.push_back([](CModelDialog& d) { d.PressEscape(); });
        plugin.Execute();
        EXPECT_EQ(nShown, c.before) << c.name;
        const std::int32_t* p = SSettingsStorePeer::IntMap(s_settings).Find(u"FusionMode");
        EXPECT_EQ(p ? std::optional(*p) : none, c.after) << c.name;
    }
}
} // namespace

namespace {
// Two brackets only by the restart of the exposures (0, -2, +2, 0, -2, +2 a second apart): the box
// is offered for an exposure series; choosing a focus stack regroups them into one, the box goes
// and the whole selection's name comes back, and the other way round.
TEST_F(Command, KindOfSeriesRegroupsTheSelection)
{
    const std::int32_t biases[] = {0, -2, 2, 0, -2, 2};
    std::vector<std::u16string> photos;
    SelectionList selection;
    for (int i = 0; i < 6; ++i) {
        photos.push_back(m_folder + u"r" + platform::DecimalText(i + 1) + u".jpg");
        const std::string time = "2026:05:01 10:00:0" + std::to_string(i);
        WriteDatedJpeg(photos.back(), time.c_str(), biases[i]);
    }
    for (const std::u16string& photo : photos)
        selection.push_back(photo.c_str());
    s_settings.SetString(u"EnfusePath", m_fake, u"", true);
    s_settings.SetFuseEachBracket(true);
    ASSERT_EQ(m_pPlugin->Start(nullptr, selection).proceed, 1);
    struct SSeen {
        bool bEnabled;
        std::u16string box, field;
    };
    std::vector<SSeen> seen;
    const CModelUi::Step look = [&](CModelDialog& d) {
        const SModelControl& box = *d.State().Find(IDC_FUSE_EACH);
        seen.push_back({box.bEnabled, box.strText, d.State().Find(IDC_OUTPUT_FILE)->strText});
    };
    m_ui.m_steps = {look, [](CModelDialog& d) { d.SelectItem(IDC_FUSION_MODE, 1); },
                    look, [](CModelDialog& d) { d.SelectItem(IDC_FUSION_MODE, 0); },
                    look, [](CModelDialog& d) { d.PressEscape(); }};
    m_pPlugin->Execute();
    const std::u16string text = u"Jede Reihe einzeln zusammenf\u00fchren";
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_TRUE(seen[0].bEnabled);
    EXPECT_EQ(seen[0].box, text + u" (2 Reihen erkannt)");
    EXPECT_EQ(seen[0].field, m_folder + u"r1-r3.jpg");
    EXPECT_FALSE(seen[1].bEnabled);
    EXPECT_EQ(seen[1].box, text);
    EXPECT_EQ(seen[1].field, m_folder + u"r1-r6.jpg");
    EXPECT_TRUE(seen[2].bEnabled);
    EXPECT_EQ(seen[2].box, text + u" (2 Reihen erkannt)");
    EXPECT_EQ(seen[2].field, m_folder + u"r1-r3.jpg");
}
} // namespace
