// Fault injection below the settings file: every counted file operation of one Save fails in
// turn, and the file on disk must be the old one or the new one, whole, with no temporary left.
#include <gtest/gtest.h>

#include "settings/settings_store.h"
#include "tests/support/fault_os.h"
#include "tests/support/test_util.h"

namespace lvp {
namespace {
const std::string kOld = "\xEF\xBB\xBF<Settings><c Attr=\"JpegQuality\" Type=\"int\">70</c>"
                         "<c Attr=\"EnfusePath\" Type=\"string\">C:\\Tools\\enfuse.exe</c>"
                         "<c Attr=\"Flag\" Type=\"bool\">true</c><c Attr=\"Blob\" Type=\"bin\">00ff7f</c>";

// Loads the file, changes it in memory and lets the store's end save it; os counts the calls
// of that Save only.
void LoadChangeSave(CFaultOs& os, const fs::path& file)
{
    const long failAt = os.failAt;
    os.failAt = -1;
    {
        CSettingsStore store(os);
        store.Load(file.u16string());
        store.SetInt(u"JpegQuality", 50);
        store.SetString(u"EnfusePath", u"D:\\enfuse <new>.exe", u"", false);
        store.SetBinFromHex(u"Blob", u"0123456789abcdef");
        os.calls = 0;
        os.failAt = failAt;
    }
    os.failAt = -1;
}

bool HasTempFiles(const fs::path& dir)
{
    for (const auto& e : fs::directory_iterator(dir))
        if (e.path().extension() == ".tmp")
            return true;
    return false;
}

TEST(FaultWalkTest, EveryFailingCallOfOneSaveLeavesTheOldFileOrTheNewOne)
{
    struct Mode {
        const char* name;
        bool noTempFiles, shortWrite;
    } modes[] = {
        {"replace, short writes", false, true},
        {"replace, no space", false, false},
        {"in place, short writes", true, true},
        {"in place, no space", true, false},
    };
    for (const Mode& m : modes) {
        TempDir dir;
        CFaultOs os(dir);
        os.noTempFiles = m.noTempFiles;
        os.shortWrite = m.shortWrite;
        const fs::path file = dir.path() / "lvp_hdr.xml";
        WriteBytes(file, kOld);
        LoadChangeSave(os, file); // no fault: the new text, and how many calls it takes
        const std::string fresh = ReadBytes(file);
        const long total = os.calls;
        ASSERT_NE(fresh, kOld) << m.name;
        ASSERT_GT(total, 5) << m.name;
        int oldKept = 0, newWritten = 0;
        for (long n = 0; n < total; ++n) {
            WriteBytes(file, kOld);
            os.failAt = n;
            LoadChangeSave(os, file);
            const std::string now = ReadBytes(file);
            EXPECT_TRUE(now == kOld || now == fresh)
                << m.name << ": call " << n << " (" << os.failed << ") left " << now.size() << " bytes";
            EXPECT_FALSE(HasTempFiles(dir.path())) << m.name << ": call " << n << " (" << os.failed << ")";
            (now == kOld ? oldKept : newWritten)++;
        }
        // A failed write keeps the old file; a temporary file that cannot be made or put in
        // place falls back to the in-place write, which then succeeds. In place, every fault
        // puts the old bytes back.
        EXPECT_GT(oldKept, 0) << m.name;
        EXPECT_EQ(newWritten > 0, !m.noTempFiles) << m.name;
        std::printf("%s: %ld calls, %d old kept, %d new written\n", m.name, total, oldKept, newWritten);
    }
}
} // namespace
} // namespace lvp
