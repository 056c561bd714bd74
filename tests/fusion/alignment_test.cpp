// The alignment program's command in both modes, and the images it is to write.
#include "fusion/alignment.h"

#include "fusion/command_builder.h"
#include "fusion/tool_paths.h"
#include "platform/os.h"

#include <gtest/gtest.h>

namespace {
using namespace lvp;

TEST(AlignStep, CommandOfEachMode)
{
    struct Case {
        EFusionMode mode;
        std::vector<std::u16string> options; // between -v and -a
    } cases[] = {
        {EFusionMode::Exposure, {}},
        {EFusionMode::Focus, {u"-m", u"--use-given-order"}},
    };
    const platform::COs& os = platform::RealOs();
    const std::vector<std::u16string> inputs{u"a.jpg", u"b c.jpg", u"d.jpg"};
    for (const Case& c : cases) {
        CToolPaths paths(os);
        const CAlignStep step(os, paths, u"align", inputs, c.mode);
        ASSERT_TRUE(step.Ready());
        const platform::SCommandLine& command = step.Command();
        const std::u16string prefix = command.strFolder + os.PathSeparator() + u"aligned";
        std::vector<std::u16string> args{u"align", u"-v"};
        std::u16string line = u"\"align\" -v";
        for (const std::u16string& option : c.options) {
            args.push_back(option);
            line += u" " + option;
        }
        args.insert(args.end(), {u"-a", prefix, u"-C"});
        line += u" -a \"" + QuotedArgumentText(prefix) + u"\" -C";
        for (const std::u16string& input : inputs) {
            args.push_back(input);
            line += u" \"" + input + u"\"";
        }
        EXPECT_EQ(command.args, args);
        EXPECT_EQ(command.strCommandLine, line);
        // The first photo stays the reference in both modes: the images follow the input order.
        EXPECT_EQ(step.Aligned(), (std::vector<std::u16string>{prefix + u"0000.tif", prefix + u"0001.tif",
                                                               prefix + u"0002.tif"}));
    }
    // The default is the exposure series.
    CToolPaths paths(os);
    const CAlignStep step(os, paths, u"align", inputs);
    EXPECT_EQ(step.Command().args.size(), 5 + inputs.size());
}
} // namespace
