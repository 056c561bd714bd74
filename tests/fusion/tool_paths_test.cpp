// The forms of the fusion program's paths, over an OS whose narrow code page is Latin-1 (as a
// western Windows system's), with short names, links and copies that a test can withhold.
#include "fusion/tool_paths.h"
#include "platform/utf.h"
#include "tests/support/test_util.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>

namespace {
namespace fs = std::filesystem;

// Real files in a folder of the test's own; the rest as a test sets it.
class CScriptedOs : public platform::CRealOs {
public:
    std::u16string temp;
    std::map<std::u16string, std::u16string> shortNames; // long path -> its short form
    bool bLinks = true, bCopies = true;
    std::set<uint32_t> running{4242};
    std::vector<std::u16string> links, copies;

    bool FitsNarrowArguments(const std::u16string& p) const override
    {
        for (char16_t c : p) {
            if (c > 0xFF) // Latin-1 holds the first 256 code points, nothing else
                return false;
        }
        return true;
    }
    std::u16string ShortPath(const std::u16string& p) const override
    {
        auto it = shortNames.find(p);
        return it == shortNames.end() ? std::u16string() : it->second;
    }
    bool MakeHardLink(const std::u16string& link, const std::u16string& target) const override
    {
        if (!bLinks)
            return false;
        const_cast<CScriptedOs*>(this)->links.push_back(link);
        return platform::CRealOs::MakeHardLink(link, target);
    }
    bool CopyFileTo(const std::u16string& from, const std::u16string& to, bool bReplace) const override
    {
        if (!bCopies)
            return false;
        const_cast<CScriptedOs*>(this)->copies.push_back(to);
        return platform::CRealOs::CopyFileTo(from, to, bReplace);
    }
    std::u16string TempFolder() const override { return temp; }
    uint32_t CurrentProcessId() const override { return 4242; }
    bool IsProcessRunning(uint32_t id) const override { return running.count(id) != 0; }
};

class ToolPaths : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directories(m_root / "tmp");
        fs::create_directories(m_root / u"Fotos \u5199\u771f");
        m_os.temp = (m_root / "tmp").u16string();
    }
    std::u16string Make(const std::u16string& relative)
    {
        const fs::path path = m_root / relative;
        std::ofstream(path) << "image";
        return path.u16string();
    }
    std::vector<std::u16string> TempFiles() const
    {
        std::vector<std::u16string> names;
        for (const auto& entry : fs::directory_iterator(m_root / "tmp"))
            names.push_back(entry.path().filename().u16string());
        return names;
    }

    // want is a made name's start (up to its chance part) and its end, "*" between them, or a
    // path as it is.
    static bool IsMadeName(const std::u16string& path, const std::u16string& want)
    {
        const size_t star = want.find(u'*');
        if (star == std::u16string::npos)
            return path == want;
        const std::u16string_view start = std::u16string_view(want).substr(0, star),
                                  end = std::u16string_view(want).substr(star + 1);
        return path.size() == start.size() + 16 + end.size() && path.starts_with(start) &&
               path.ends_with(end) &&
               path.substr(start.size(), 16).find_first_not_of(u"0123456789abcdef") == std::u16string::npos;
    }

    const TempDir m_temp;
    const fs::path m_root = m_temp.path();
    CScriptedOs m_os;
    const char16_t m_sep = platform::RealOs().PathSeparator();
};

TEST_F(ToolPaths, InputsTakeTheFirstFormThatFits)
{
    const std::u16string ascii = Make(u"a.jpg"), latin1 = Make(u"B\u00e4ume \u00e9t\u00e9.JPG");
    const std::u16string cjk = Make(u"Fotos \u5199\u771f/Bild \u5199\u771f 1.JPG");
    const std::u16string emoji = Make(u"Fotos \u5199\u771f/\U0001F600.tif");
    const std::u16string strangeExt = Make(u"Fotos \u5199\u771f/x.\u5199");
    fs::create_directories(m_root / std::u16string(120, u'\u00fc'));
    const std::u16string longName =
        Make(std::u16string(120, u'\u00fc') + u"/" + std::u16string(60, u'\u5199') + u".jpg");
    const std::u16string temp = m_os.temp + m_sep + u"lvp_hdr-00001092-*"; // 4242
    struct Case {
        const char* name;
        std::u16string input;
        bool bShortName, bLinks, bCopies;
        std::u16string want; // empty: no form at all
    } cases[] = {
        {"ASCII as it is", ascii, true, true, true, ascii},
        {"Latin-1 as it is", latin1, true, true, true, latin1},
        {"outside the page: its short form", cjk, true, true, true, u"C:\\FOTOS~1\\BILD~1.JPG"},
        {"no short form: a link", cjk, false, true, true, temp + u".JPG"},
        {"surrogate pair, linked", emoji, false, true, true, temp + u".tif"},
        {"extension outside the page dropped", strangeExt, false, true, true, temp},
        {"long name, linked", longName, false, true, true, temp + u".jpg"},
        {"no link: a copy", cjk, false, false, true, temp + u".JPG"},
        {"nothing works", cjk, false, false, false, u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_os.shortNames.clear();
        if (c.bShortName)
            m_os.shortNames[c.input] = u"C:\\FOTOS~1\\BILD~1.JPG";
        m_os.bLinks = c.bLinks;
        m_os.bCopies = c.bCopies;
        std::u16string failed;
        {
            lvp::CToolPaths paths(m_os);
            const bool bOk = paths.Prepare({ascii, c.input}, Make(u"out.jpg"), failed);
            EXPECT_EQ(bOk, !c.want.empty());
            if (bOk) {
                ASSERT_EQ(paths.Inputs().size(), 2u);
                EXPECT_EQ(paths.Inputs()[0], ascii);
                EXPECT_TRUE(IsMadeName(paths.Inputs()[1], c.want))
                    << platform::Utf16ToUtf8(paths.Inputs()[1]);
                if (c.want.starts_with(temp)) {
                    std::ifstream in{fs::path(paths.Inputs()[1])};
                    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "image");
                }
            } else {
                EXPECT_EQ(failed, c.input);
            }
        }
        EXPECT_TRUE(TempFiles().empty()) << "links and copies are gone";
        EXPECT_TRUE(fs::exists(fs::path(c.input)));
    }
}

TEST_F(ToolPaths, OutputIsWrittenUnderAnAsciiNameAndMovedToItsOwn)
{
    const std::u16string folder = (m_root / u"Fotos \u5199\u771f").u16string();
    const std::u16string input = Make(u"a.jpg");
    const std::u16string output = folder + m_sep + u"Bild \u5199\u771f 1-Bild \u5199\u771f 3.jpg";
    const std::u16string beside = (m_root / "FOTOS~1").u16string();
    fs::create_directories(fs::path(beside)); // stands in for the folder's short form
    struct Case {
        const char* name;
        std::u16string output;
        bool bFolderShortName;
        std::u16string toolOutput; // empty: refused
    } cases[] = {
        {"fits: unchanged", (m_root / u"\u00dcbersicht.jpg").u16string(), true,
         (m_root / u"\u00dcbersicht.jpg").u16string()},
        {"beside it, through the folder's short form", output, true,
         beside + m_sep + u"lvp_hdr-00001092-*-out.jpg"},
        {"in the temporary folder", output, false, m_os.temp + m_sep + u"lvp_hdr-00001092-*-out.jpg"},
        {"an extension outside the page", folder + m_sep + u"x.\u5199", false, u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_os.shortNames.clear();
        if (c.bFolderShortName)
            m_os.shortNames[folder] = beside;
        for (bool bSucceeds : {true, false}) {
            std::error_code ec;
            fs::remove(fs::path(c.output), ec);
            std::u16string failed;
            {
                lvp::CToolPaths paths(m_os);
                ASSERT_EQ(paths.Prepare({input}, c.output, failed), !c.toolOutput.empty());
                if (c.toolOutput.empty()) {
                    EXPECT_EQ(failed, c.output);
                    break;
                }
                EXPECT_TRUE(IsMadeName(paths.ToolOutput(), c.toolOutput))
                    << platform::Utf16ToUtf8(paths.ToolOutput());
                std::ofstream(fs::path(paths.ToolOutput())) << "fused";
                if (bSucceeds) {
                    EXPECT_TRUE(paths.Commit());
                }
            }
            EXPECT_EQ(fs::exists(fs::path(c.output)), bSucceeds || c.toolOutput == c.output);
            EXPECT_TRUE(fs::is_empty(fs::path(beside)) && TempFiles().empty()) << "nothing else is left";
        }
    }
}

// Names of a process that has ended go with the next run's first use of the folder; those of
// running processes (this one too) stay.
TEST_F(ToolPaths, LeftoversOfEndedHostsAreRemoved)
{
    m_os.running = {4242, 77};
    const std::vector<std::pair<std::u16string, bool>> files = {
        {u"lvp_hdr-0000000d-0123456789abcdef.JPG", false}, // process 13
        {u"lvp_hdr-0000000d-0123456789abcdef-out.jpg", false},
        {u"lvp_hdr-0000000d-0123456789abcdef", false},
        {u"lvp_hdr-0000004d-0123456789abcdef.JPG", true}, // 77 runs
        {u"lvp_hdr-00001092-0123456789abcdef.JPG", true}, // this process
        {u"lvp_hdr-13-1.JPG", true},
        {u"lvp_hdr-0000000d-0123456789abcdeX.JPG", true},
        {u"other-0000000d-0123456789abcdef.JPG", true}};
    for (const auto& f : files)
        std::ofstream(m_root / "tmp" / f.first) << "x";
    // A folder of an ended host goes with what it holds; one of a running host stays.
    const fs::path endedFolder = m_root / "tmp" / "lvp_hdr-0000000d-00000000000000ff";
    const fs::path runningFolder = m_root / "tmp" / "lvp_hdr-0000004d-00000000000000ff";
    for (const fs::path& folder : {endedFolder, runningFolder}) {
        fs::create_directories(folder / "inner");
        std::ofstream(folder / "inner" / "aligned0000.tif") << "x";
    }
    std::u16string failed;
    lvp::CToolPaths paths(m_os);
    ASSERT_TRUE(paths.Prepare({Make(u"Fotos \u5199\u771f/a.jpg")}, Make(u"o.jpg"), failed));
    for (const auto& f : files)
        EXPECT_EQ(fs::exists(m_root / "tmp" / f.first), f.second) << platform::Utf16ToUtf8(f.first);
    EXPECT_FALSE(fs::exists(endedFolder));
    EXPECT_TRUE(fs::exists(runningFolder / "inner" / "aligned0000.tif"));
}
} // namespace

namespace {
// A private folder lies in the temporary folder under the one naming scheme and goes with all
// that was put into it; those of ended hosts go with the next use of the folder, with their
// files; those of running ones stay.
TEST_F(ToolPaths, PrivateFoldersGoWithTheirFiles)
{
    m_os.running = {4242, 77};
    // Process 13 (0xd) has ended, 77 (0x4d) runs.
    const char* ended = "lvp_hdr-0000000d-0123456789abcdef-run";
    const char* running = "lvp_hdr-0000004d-0123456789abcdef-run";
    for (const char* name : {ended, running}) {
        fs::create_directories(m_root / "tmp" / name);
        std::ofstream(m_root / "tmp" / name / "aligned0000.tif") << "x";
    }
    std::u16string folder;
    {
        lvp::CToolPaths paths(m_os);
        folder = paths.MakePrivateFolder();
        ASSERT_FALSE(folder.empty());
        EXPECT_EQ(fs::path(folder).parent_path(), m_root / "tmp");
        EXPECT_TRUE(fs::path(folder).filename().u16string().starts_with(u"lvp_hdr-00001092-")); // 4242
        EXPECT_TRUE(fs::is_directory(fs::path(folder)));
        std::ofstream(fs::path(folder) / "aligned0000.tif") << "x";
        std::ofstream(fs::path(folder) / "stray.txt") << "x";
        EXPECT_FALSE(fs::exists(m_root / "tmp" / ended));
        EXPECT_TRUE(fs::exists(m_root / "tmp" / running / "aligned0000.tif"));
        EXPECT_NE(paths.MakePrivateFolder(), folder);
    }
    EXPECT_FALSE(fs::exists(fs::path(folder)));
    EXPECT_EQ(TempFiles(), std::vector<std::u16string>{platform::Utf8ToUtf16(running)});
}
} // namespace
