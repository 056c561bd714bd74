// Builds the fusion program's command line and argument vector.
#include "ui/command_line.h"

#include "platform/utf.h"

namespace lvp {
namespace {
// Printed like the template's %d: the 32 bits read as a signed number.
std::u16string QualityText(std::uint32_t nQuality)
{
    return platform::DecimalText(static_cast<std::int32_t>(nQuality));
}

std::u16string_view Entry(const char16_t* path)
{
    return path ? std::u16string_view(path) : std::u16string_view();
}
} // namespace

std::u16string FormatCommandHead(std::u16string_view strProgram, std::u16string_view strOutputFile,
                                 std::uint32_t nQuality)
{
    std::u16string line = u"\"";
    line.append(strProgram);
    line += u"\" -o \"";
    line.append(strOutputFile);
    line += u"\" --compression=";
    line += QualityText(nQuality);
    return line;
}

std::u16string BuildCommandLine(std::u16string_view strProgram, std::u16string_view strOutputFile,
                                std::uint32_t nQuality, const SelectionList& selection)
{
    std::u16string line = ExpandCommandTemplate(strProgram, strOutputFile, nQuality);
    for (const char16_t* path : selection) {
        line += u" \"";
        line.append(Entry(path));
        line += u"\"";
    }
    return line;
}

std::vector<std::u16string> BuildArgumentVector(std::u16string_view strProgram, std::u16string_view strOutputFile,
                                                std::uint32_t nQuality, const SelectionList& selection)
{
    std::vector<std::u16string> args{std::u16string(strProgram), u"-o", std::u16string(strOutputFile),
                                     u"--compression=" + QualityText(nQuality)};
    for (const char16_t* path : selection)
        args.emplace_back(Entry(path));
    return args;
}

platform::SCommandLine BuildToolCommand(std::u16string_view strProgram, std::u16string_view strOutputFile,
                                        std::uint32_t nQuality, const SelectionList& selection)
{
    return {BuildCommandLine(strProgram, strOutputFile, nQuality, selection),
            BuildArgumentVector(strProgram, strOutputFile, nQuality, selection)};
}
} // namespace lvp
