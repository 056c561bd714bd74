// Without a system message formatter the command-line template is expanded by our own code.
#include "ui/command_line.h"

namespace lvp {
std::u16string ExpandCommandTemplate(std::u16string_view strProgram, std::u16string_view strOutputFile,
                                     std::uint32_t nQuality)
{
    return FormatCommandHead(strProgram, strOutputFile, nQuality);
}
} // namespace lvp
