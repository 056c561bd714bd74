// Where the alignment program is found, its command line, and its images.
#include "fusion/alignment.h"

#include "fusion/command_builder.h"
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
} // namespace

std::u16string LocateAlignProgram(const std::u16string& strProgram, const platform::COs& os)
{
    const std::u16string name = os.ExecutableFileName(kAlignProgram);
    const std::u16string folder(platform::FolderOf(strProgram, os.PathSeparators()));
    if (!folder.empty()) {
        std::u16string beside = folder;
        beside.append(name);
        if (os.FileOpensForReading(beside))
            return beside;
    }
    return FindInstalledProgram(kAlignProgram, os);
}

CAlignStep::CAlignStep(const platform::COs& os, CToolPaths& paths, const std::u16string& strProgram,
                       const std::vector<std::u16string>& inputs, EFusionMode mode)
    : m_os(os)
{
    const std::u16string folder = paths.MakePrivateFolder();
    if (folder.empty())
        return;
    std::u16string prefix = folder;
    prefix.push_back(os.PathSeparator());
    prefix.append(kAlignedPrefix);
    CCommandBuilder builder(strProgram);
    builder.Word(u"-v");
    if (mode == EFusionMode::Focus)
        builder.Word(u"-m").Word(u"--use-given-order");
    builder.Word(u"-a").Quoted(prefix).Word(u"-C");
    for (size_t i = 0; i < inputs.size(); ++i) {
        builder.Quoted(inputs[i]);
        m_aligned.push_back(prefix);
        m_aligned.back().append(FourDigits(i)).append(u".tif");
    }
    m_command = builder.Build(folder); // stray files of the program land there too
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
