// The title of a file name, and the module's own file against the real system.
#include "platform/module_file.h"
#include "platform/utf.h"

#include <gtest/gtest.h>

namespace {
TEST(ModuleFile, FileTitle)
{
    struct Case {
        std::u16string_view path, separators, title;
    };
    const Case cases[] = {
        {u"C:\\Programme\\Lumivant\\lvp_hdr.dll", u"\\/", u"lvp_hdr"},
        {u"/usr/lib/lumivant/lvp_hdr.so", u"/", u"lvp_hdr"},
        {u"C:/mixed\\Ordner/HDR Kopie.DLL", u"\\/", u"HDR Kopie"},
        {u"lvp_hdr.dll", u"\\/", u"lvp_hdr"},
        {u"C:\\v1.3\\lvp_hdr", u"\\/", u"lvp_hdr"}, // a dot in the folder is no extension
        {u"/opt/lvp.hdr.so", u"/", u"lvp.hdr"},     // only the last dot starts it
        {u"/opt/.lvp_hdr", u"/", u".lvp_hdr"},      // a leading dot hides the file, not an extension
        {u"/opt/lvp_hdr.", u"/", u"lvp_hdr"},
        {u"/home/a\\b.so", u"/", u"a\\b"}, // a backslash is part of a POSIX name
        {u"/opt/", u"/", u""},
        {u"", u"/", u""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(platform::FileTitle(c.path, c.separators), c.title) << platform::Utf16ToUtf8(c.path);
}

// In a test program the module that holds the code is the program itself (a renamed module is
// tested with the built module and lvphost).
TEST(ModuleFile, OwnModuleIsTheProgram)
{
    EXPECT_EQ(platform::OwnModuleTitle(), u"platform_tests")
        << platform::Utf16ToUtf8(platform::OwnModulePath());
}
} // namespace
