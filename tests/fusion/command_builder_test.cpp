// The command builder: both forms of a command from one list of words and quoted arguments.
#include "fusion/command_builder.h"

#include <gtest/gtest.h>

namespace {
TEST(CommandBuilder, BothFormsFromOneList)
{
    struct Case {
        const char* name;
        platform::SCommandLine command;
        std::u16string line;
        std::vector<std::u16string> args;
    } cases[] = {
        {"program alone",
         lvp::CCommandBuilder(u"C:\\a b\\p.exe").Build(),
         u"\"C:\\a b\\p.exe\"",
         {u"C:\\a b\\p.exe"}},
        {"words bare, arguments quoted",
         lvp::CCommandBuilder(u"p").Word(u"-v").Quoted(u"x y").Word(u"-C").Quoted(u"").Build(),
         u"\"p\" -v \"x y\" -C \"\"",
         {u"p", u"-v", u"x y", u"-C", u""}},
        // The program is read up to the next quote, so it is never escaped; arguments are.
        {"escapes in arguments only",
         lvp::CCommandBuilder(u"C:\\t\\").Quoted(u"C:\\o\\").Quoted(u"a\"b").Build(),
         u"\"C:\\t\\\" \"C:\\o\\\\\" \"a\\\"b\"",
         {u"C:\\t\\", u"C:\\o\\", u"a\"b"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.command.strCommandLine, c.line) << c.name;
        EXPECT_EQ(c.command.args, c.args) << c.name;
        EXPECT_TRUE(c.command.strFolder.empty()) << c.name;
    }
    EXPECT_EQ(lvp::CCommandBuilder(u"p").Build(u"/tmp/x").strFolder, u"/tmp/x");
}
} // namespace
