// Where the alignment program is found, its command line, and its images.
#include "fusion/alignment.h"

#include "fusion/command_line.h"
#include "fusion/tool_paths.h"
#include "platform/utf.h"

namespace lvp {
namespace {
constexpr char16_t kAlignProgram[] = u"align_image_stack";
constexpr char16_t kAlignedPrefix[] = u"aligned";

// The folder part of path, its last separator included; empty when it has none. Windows takes
// "/" as a separator too.
std::u16string FolderOf(const std::u16string& path, char16_t separator)
{
    const size_t nSlash = separator == u'\\' ? path.find_last_of(u"\\/") : path.rfind(separator);
    return nSlash == std::u16string::npos ? std::u16string() : path.substr(0, nSlash + 1);
}

// "0007" for 7: align_image_stack numbers its images with four digits (more when needed).
std::u16string FourDigits(size_t n)
{
    std::u16string text = platform::DecimalText(static_cast<std::int64_t>(n));
    return text.size() < 4 ? std::u16string(4 - text.size(), u'0') + text : text;
}

void AddArgument(platform::SCommandLine& command, const std::u16string& arg, bool bQuoted)
{
    command.strCommandLine += u' ';
    command.strCommandLine += bQuoted ? u"\"" + QuotedArgumentText(arg) + u"\"" : arg;
    command.args.push_back(arg);
}
} // namespace

std::u16string LocateAlignProgram(const std::u16string& strProgram, const platform::COs& os)
{
    const std::u16string name = os.ExecutableFileName(kAlignProgram);
    const std::u16string folder = FolderOf(strProgram, os.PathSeparator());
    if (!folder.empty()) {
        std::u16string beside = folder + name;
        if (os.FileOpensForReading(beside))
            return beside;
    }
    return os.FindOnPathVariable(name);
}

CAlignStep::CAlignStep(const platform::COs& os, CToolPaths& paths, const std::u16string& strProgram,
                       const std::vector<std::u16string>& inputs)
    : m_os(os)
{
    const std::u16string folder = paths.MakePrivateFolder();
    if (folder.empty())
        return;
    const std::u16string prefix = folder + os.PathSeparator() + kAlignedPrefix;
    // The program is the first token, read up to the next quote, as for the fusion program.
    m_command.strCommandLine = u"\"" + strProgram + u"\"";
    m_command.args.push_back(strProgram);
    AddArgument(m_command, u"-v", false);
    AddArgument(m_command, u"-a", false);
    AddArgument(m_command, prefix, true);
    AddArgument(m_command, u"-C", false);
    for (size_t i = 0; i < inputs.size(); ++i) {
        AddArgument(m_command, inputs[i], true);
        m_aligned.push_back(prefix + FourDigits(i) + u".tif");
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
