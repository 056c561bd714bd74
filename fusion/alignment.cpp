// Where the alignment program is found, its command line, and its images.
#include "fusion/alignment.h"

#include "fusion/command_line.h"
#include "fusion/program_search.h"
#include "fusion/tool_paths.h"
#include "platform/path.h"
#include "platform/utf.h"

namespace lvp {
namespace {
constexpr char16_t kAlignProgram[] = u"align_image_stack";
constexpr char16_t kAlignedPrefix[] = u"aligned";

// "0007" for 7: align_image_stack numbers its images with four digits (more when needed).
std::u16string FourDigits(size_t n)
{
    const std::u16string digits = platform::DecimalText(static_cast<std::int64_t>(n));
    std::u16string text(digits.size() < 4 ? 4 - digits.size() : 0, u'0');
    text.append(digits);
    return text;
}

void AddArgument(platform::SCommandLine& command, const std::u16string& arg, bool bQuoted)
{
    if (bQuoted)
        AppendQuotedArgument(command.strCommandLine, arg);
    else
        command.strCommandLine.append(u" ").append(arg);
    command.args.push_back(arg);
}
} // namespace

std::u16string LocateAlignProgram(const std::u16string& strProgram, const platform::COs& os)
{
    const std::u16string name = os.ExecutableFileName(kAlignProgram);
    const std::u16string folder(platform::FolderOf(strProgram, platform::SeparatorsFor(os.PathSeparator())));
    if (!folder.empty()) {
        std::u16string beside = folder;
        beside.append(name);
        if (os.FileOpensForReading(beside))
            return beside;
    }
    return FindInstalledProgram(kAlignProgram, os);
}

CAlignStep::CAlignStep(const platform::COs& os, CToolPaths& paths, const std::u16string& strProgram,
                       const std::vector<std::u16string>& inputs)
    : m_os(os)
{
    const std::u16string folder = paths.MakePrivateFolder();
    if (folder.empty())
        return;
    std::u16string prefix = folder;
    prefix.push_back(os.PathSeparator());
    prefix.append(kAlignedPrefix);
    // The program is the first token, read up to the next quote, as for the fusion program.
    m_command.strCommandLine.assign(1, u'"').append(strProgram).push_back(u'"');
    m_command.args.push_back(strProgram);
    AddArgument(m_command, u"-v", false);
    AddArgument(m_command, u"-a", false);
    AddArgument(m_command, prefix, true);
    AddArgument(m_command, u"-C", false);
    for (size_t i = 0; i < inputs.size(); ++i) {
        AddArgument(m_command, inputs[i], true);
        m_aligned.push_back(prefix);
        m_aligned.back().append(FourDigits(i)).append(u".tif");
    }
    m_command.strFolder = folder; // stray files of the program land there too
}

bool CAlignStep::Finish(int nExitCode) const
{
    if (nExitCode != 0 || !Ready())
        return false;
    for (const std::u16string& image : m_aligned) {
        platform::SFileInfo info;
        if (!m_os.GetFileInfo(image, info) || info.bFolder)
            return false;
    }
    return true;
}
} // namespace lvp
