// The fusion program's command line and argument vector, from the dialog's values and the selection.
#include "fusion/command_line.h"

#include <gtest/gtest.h>

namespace {
using Paths = std::vector<std::u16string>;

TEST(CommandLine, ExampleAndInputsInOrder)
{
    Paths inputs{u"D:\\Bilder\\a.jpg", u"D:\\Bilder\\b.jpg", u"D:\\Bilder\\c.jpg"};
    EXPECT_EQ(lvp::BuildCommandLine(u"C:\\Tools\\enfuse.exe", u"D:\\Bilder\\a-c.jpg", 95, inputs),
              u"\"C:\\Tools\\enfuse.exe\" -o \"D:\\Bilder\\a-c.jpg\" --compression=95 \"D:\\Bilder\\a.jpg\" "
              u"\"D:\\Bilder\\b.jpg\" \"D:\\Bilder\\c.jpg\"");
    EXPECT_EQ(lvp::BuildArgumentVector(u"/usr/bin/enfuse", u"/b/a-c.jpg", 95,
                                       {u"/b/a.jpg", u"/b/b.jpg", u"/b/c.jpg"}),
              (std::vector<std::u16string>{u"/usr/bin/enfuse", u"-o", u"/b/a-c.jpg", u"--compression=95",
                                           u"/b/a.jpg", u"/b/b.jpg", u"/b/c.jpg"}));
}

TEST(CommandLine, QualityAsSignedDecimalAndPathsVerbatim)
{
    struct Case {
        const char16_t* program;
        const char16_t* output;
        std::uint32_t quality;
        Paths inputs;
        std::u16string line;
    } cases[] = {
        {u"p", u"o", 0, {}, u"\"p\" -o \"o\" --compression=0"},
        {u"p", u"o", 100, {}, u"\"p\" -o \"o\" --compression=100"},
        {u"p", u"o", 7, {}, u"\"p\" -o \"o\" --compression=7"},
        // The template prints the 32 bits as a signed number.
        {u"p", u"o", 2147483647u, {}, u"\"p\" -o \"o\" --compression=2147483647"},
        {u"p", u"o", 2147483648u, {}, u"\"p\" -o \"o\" --compression=-2147483648"},
        {u"p", u"o", 4294967295u, {}, u"\"p\" -o \"o\" --compression=-1"},
        // Inserts are copied as they are, directives inside them included.
        {u"C:\\100%\\%1!s!",
         u"a %2 b!d!",
         95,
         {u"%3!d!"},
         u"\"C:\\100%\\%1!s!\" -o \"a %2 b!d!\" --compression=95 \"%3!d!\""},
        {u"", u"", 95, {}, u"\"\" -o \"\" --compression=95"},
        // An empty path contributes its quotes.
        {u"p", u"o", 1, {u"a", u"", u"b"}, u"\"p\" -o \"o\" --compression=1 \"a\" \"\" \"b\""},
        {u"C:\\Bäume €\\enfuse.exe",
         u"ö.jpg",
         95,
         {u"\U0001F600.jpg"},
         u"\"C:\\Bäume €\\enfuse.exe\" -o \"ö.jpg\" --compression=95 \"\U0001F600.jpg\""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(lvp::BuildCommandLine(c.program, c.output, c.quality, c.inputs), c.line);
        auto args = lvp::BuildArgumentVector(c.program, c.output, c.quality, c.inputs);
        ASSERT_EQ(args.size(), 4 + c.inputs.size());
        EXPECT_EQ(args[0], c.program);
        EXPECT_EQ(args[2], c.output);
        EXPECT_EQ(args[3], c.line.substr(c.line.find(u"--compression="), args[3].size()));
        for (size_t i = 0; i < c.inputs.size(); ++i)
            EXPECT_EQ(args[4 + i], c.inputs[i]);
    }
}
// Both forms of both modes: the exposure series as it always was; the focus stack with its
// options between the quality and the inputs, in the same words on every OS.
TEST(CommandLine, ModesInBothForms)
{
    using lvp::EFusionMode;
    const std::u16string focus = u"--exposure-weight=0 --saturation-weight=0 --contrast-weight=1 --hard-mask";
    struct Case {
        EFusionMode mode;
        Paths inputs;
        std::u16string line;
        std::vector<std::u16string> args;
    } cases[] = {
        {EFusionMode::Exposure,
         {u"a.jpg", u"b c.jpg"},
         u"\"e\" -o \"o.jpg\" --compression=90 \"a.jpg\" \"b c.jpg\"",
         {u"e", u"-o", u"o.jpg", u"--compression=90", u"a.jpg", u"b c.jpg"}},
        {EFusionMode::Focus,
         {u"a.jpg", u"b c.jpg"},
         u"\"e\" -o \"o.jpg\" --compression=90 " + focus + u" \"a.jpg\" \"b c.jpg\"",
         {u"e", u"-o", u"o.jpg", u"--compression=90", u"--exposure-weight=0", u"--saturation-weight=0",
          u"--contrast-weight=1", u"--hard-mask", u"a.jpg", u"b c.jpg"}},
        {EFusionMode::Focus,
         {},
         u"\"e\" -o \"o.jpg\" --compression=90 " + focus,
         {u"e", u"-o", u"o.jpg", u"--compression=90", u"--exposure-weight=0", u"--saturation-weight=0",
          u"--contrast-weight=1", u"--hard-mask"}},
    };
    for (const Case& c : cases) {
        const platform::SCommandLine command = lvp::BuildToolCommand(u"e", u"o.jpg", 90, c.inputs, c.mode);
        EXPECT_EQ(command.strCommandLine, c.line);
        EXPECT_EQ(command.args, c.args);
        EXPECT_EQ(lvp::BuildCommandLine(u"e", u"o.jpg", 90, c.inputs, c.mode), c.line);
        EXPECT_EQ(lvp::BuildArgumentVector(u"e", u"o.jpg", 90, c.inputs, c.mode), c.args);
    }
    // The default is the exposure series.
    EXPECT_EQ(lvp::BuildCommandLine(u"e", u"o.jpg", 90, cases[0].inputs), cases[0].line);
}

// What stands between the quotes: a backslash before a quote, the closing one too, would escape it.
TEST(CommandLine, QuotedPathsKeepTheirBackslashes)
{
    const struct {
        const char16_t* text;
        const char16_t* quoted;
    } cases[] = {
        {u"D:\\Bilder\\a.jpg", u"D:\\Bilder\\a.jpg"}, // inner backslashes stay single
        {u"C:\\out dir\\", u"C:\\out dir\\\\"},
        {u"\\\\server\\share\\\\", u"\\\\server\\share\\\\\\\\"},
        {u"a\"b", u"a\\\"b"},
        {u"a\\\"b", u"a\\\\\\\"b"},
        {u"", u""},
        {u"\\", u"\\\\"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(lvp::QuotedArgumentText(c.text), c.quoted);
    // In the command line: the output and the inputs; the program is read without escapes.
    EXPECT_EQ(lvp::BuildCommandLine(u"C:\\e.exe", u"C:\\out dir\\", 95, {u"D:\\in\\"}),
              u"\"C:\\e.exe\" -o \"C:\\out dir\\\\\" --compression=95 \"D:\\in\\\\\"");
}
} // namespace
