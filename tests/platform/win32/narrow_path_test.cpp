// Under Wine with the western ANSI code page (1252): which paths reach a narrow main() as they
// are, and short forms that such a program opens.
#include "platform/os.h"
#include "platform/utf.h"
#include "tests/support/file_util.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <windows.h>

namespace {
TEST(NarrowPath, FitsOnlyWhatTheCodePageHoldsExactly)
{
    ASSERT_EQ(GetACP(), 1252u) << "run with LANG=C.UTF-8";
    struct Case {
        const char* name;
        std::u16string path;
        bool bFits;
    } cases[] = {
        {"ASCII", u"C:\\Bilder\\IMG_4711.JPG", true},
        {"Latin-1", u"C:\\B\u00e4ume\\\u00e9t\u00e9 \u00df.jpg", true},
        {"the euro sign, in 1252 but not Latin-1", u"C:\\5 \u20ac.jpg", true},
        {"a best fit would change it", u"C:\\\u0141\u00f3d\u017a.jpg", false},
        {"Greek", u"C:\\\u03a9.jpg", false},
        {"CJK", u"C:\\Fotos \u5199\u771f\\Bild.jpg", false},
        {"a surrogate pair", u"C:\\\U0001F600.jpg", false},
        {"a lone surrogate", std::u16string(u"C:\\") + char16_t(0xD800) + u".jpg", false},
        {"empty", u"", true},
        {"long", u"C:\\" + std::u16string(300, u'\u00e4'), true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(platform::RealOs().FitsNarrowArguments(c.path), c.bFits) << c.name;
}

// The short form opens through the narrow file functions, as the program opens it.
TEST(NarrowPath, ShortFormOpensThroughTheNarrowApi)
{
    const TempDir temp;
    const std::filesystem::path folder = temp.path() / u"Fotos \u5199\u771f";
    std::filesystem::create_directories(folder);
    const std::filesystem::path file = folder / u"Bild \u5199\u771f 1.JPG";
    std::ofstream(file) << "image";
    const std::u16string shortPath = platform::RealOs().ShortPath(file.u16string());
    ASSERT_FALSE(shortPath.empty());
    EXPECT_TRUE(platform::RealOs().FitsNarrowArguments(shortPath));
    const std::string narrow = platform::Utf16ToUtf8(shortPath); // ASCII only
    FILE* f = std::fopen(narrow.c_str(), "rb");
    EXPECT_NE(f, nullptr) << narrow;
    if (f)
        std::fclose(f);
    EXPECT_TRUE(platform::RealOs().ShortPath(file.u16string() + u"-missing").empty());
}
} // namespace
